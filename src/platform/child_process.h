// Child processes started from an argument vector (never through a shell), with their output
// collected through a pipe.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace forge {

struct ChildProcessOptions {
  // Standard output and standard error go into one pipe that OutputFd()/ReadOutput() read.
  // Otherwise both go to /dev/null.
  bool captureOutput = false;
  // Standard input is a pipe the program never writes to and closes at once (a child that asks
  // a question reads end-of-file instead of hanging); otherwise /dev/null.
  bool inputPipe = false;
  // The child's current folder; empty keeps the parent's. A relative program path is then
  // looked up from that folder.
  std::filesystem::path workingFolder{};
};

// One started child. Not copyable; the owner reads its output and waits for it on one thread.
// Destroying a child that was not waited for closes the output pipe and waits for it to end.
class ChildProcess {
 public:
  // Starts argv[0] with the arguments argv[1..]. A program name without "/" is searched in PATH.
  // On failure returns null and sets `error` to the errno value (ENOENT for a missing program).
  static std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& argv,
                                             const ChildProcessOptions& options, int& error);

  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  pid_t Pid() const { return pid_; }
  // The read end of the output pipe, or -1 without captureOutput.
  int OutputFd() const { return outputFd_; }

  // Waits until output is available or `timeoutMs` passed (−1 waits without limit) and reads
  // up to buffer.size() bytes. Returns the count read, 0 at the end of the output, −1 when the
  // wait timed out; errors other than EINTR end the output (0).
  long ReadOutput(std::span<char> buffer, int timeoutMs = -1);

  // Waits for the child to end. Returns its exit status, or 128 + the signal that ended it.
  int Wait();

  // True once the child has ended; does not block. Wait() then returns at once.
  bool HasExited();

  // Asks the child to end (SIGTERM).
  void Terminate();

 private:
  ChildProcess(pid_t pid, int outputFd);
  // Collects the child's status with waitpid(`flags`); true once it has been collected.
  bool Reap(int flags);

  pid_t pid_;
  int outputFd_;
  bool waited_ = false;
  int status_ = 0;
};

}  // namespace forge
