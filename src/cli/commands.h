// The subcommands of image-forge-cli. Each engine adds one entry to the table in commands.cpp.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace forge::cli {

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
  std::string_view name;
  std::string_view synopsis;  // one line for --help, after the program name
  std::string_view summary;   // what it does, one line
  // Runs with the arguments after the subcommand's name; returns the exit status.
  int (*run)(const std::vector<std::string>& args);
};

std::span<const Command> Commands();

// The arguments of a subcommand in order: options (words starting with "-") and operands (any
// other word, "-" alone, and everything after "--", which itself is skipped).
class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}

  // Moves to the next argument; false after the last.
  bool Next();
  const std::string& Current() const { return args_[index_]; }
  bool IsOperand() const;
  // Takes the argument after the current option as its value; false when there is none.
  bool TakeValue(std::string& value);

 private:
  const std::vector<std::string>& args_;
  std::size_t index_ = static_cast<std::size_t>(-1);
  bool optionsEnded_ = false;
};

// Writes "image-forge-cli: COMMAND: TEXT (see image-forge-cli --help)" to standard error and
// returns kExitUsage.
int UsageError(std::string_view command, const std::string& text);
// Writes "image-forge-cli: COMMAND: TEXT" to standard error and returns kExitFailed.
int Failure(std::string_view command, const std::string& text);

}  // namespace forge::cli
