#include "support/run_program.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/child_process.h"
#include "support/test_files.h"

namespace forge::test {

ProgramRun RunProgram(const std::vector<std::string>& argv) {
  int error = 0;
  auto child = ChildProcess::Start(argv, {.captureOutput = true, .inputPipe = true}, error);
  if (!child) return {-1, "cannot start " + (argv.empty() ? std::string() : argv[0]) + ": errno " +
                              std::to_string(error)};
  ProgramRun run;
  char buffer[16384];
  while (const long got = child->ReadOutput(buffer)) {
    if (got > 0) run.output.append(buffer, static_cast<std::size_t>(got));
  }
  run.status = child->Wait();
  return run;
}

ProgramRun RunCli(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {(BuildProgramFolder() / "image-forge-cli").string()};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv);
}

bool HaveProgram(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (!folder.empty() && ::access((folder + "/" + program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

}  // namespace forge::test
