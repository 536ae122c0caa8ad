#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_descriptor.h"

extern char** environ;

namespace forge {
namespace {

using Fd = FileDescriptor;

bool MakePipe(Fd& readEnd, Fd& writeEnd) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  *readEnd.out() = fds[0];
  *writeEnd.out() = fds[1];
  return true;
}

// Frees the spawn attribute objects on every path.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  bool ready = false;
  SpawnSetup() { ready = posix_spawn_file_actions_init(&actions) == 0; }
  ~SpawnSetup() {
    if (ready) posix_spawn_file_actions_destroy(&actions);
  }
};

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::vector<std::string>& argv,
                                                  const ChildProcessOptions& options, int& error) {
  error = 0;
  if (argv.empty()) {
    error = EINVAL;
    return nullptr;
  }
  Fd outRead, outWrite, inRead, inWrite;
  if (options.captureOutput && !MakePipe(outRead, outWrite)) {
    error = errno;
    return nullptr;
  }
  if (options.inputPipe && !MakePipe(inRead, inWrite)) {
    error = errno;
    return nullptr;
  }
  SpawnSetup setup;
  if (!setup.ready) {
    error = ENOMEM;
    return nullptr;
  }
  auto* actions = &setup.actions;
  if (options.inputPipe) {
    posix_spawn_file_actions_adddup2(actions, inRead.get(), STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  if (options.captureOutput) {
    posix_spawn_file_actions_adddup2(actions, outWrite.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions, outWrite.get(), STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(actions, STDOUT_FILENO, STDERR_FILENO);
  }
  if (!options.workingFolder.empty()) {
    posix_spawn_file_actions_addchdir_np(actions, options.workingFolder.c_str());
  }

  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  pid_t pid = -1;
  const bool search = argv[0].find('/') == std::string::npos;
  const int result = search ? posix_spawnp(&pid, args[0], actions, nullptr, args.data(), environ)
                            : posix_spawn(&pid, args[0], actions, nullptr, args.data(), environ);
  if (result != 0) {
    error = result;
    return nullptr;
  }
  // The program never writes to the child's input: closing our end now makes a child that
  // reads (a question it asks) see end-of-file instead of waiting for ever.
  return std::unique_ptr<ChildProcess>(new ChildProcess(pid, outRead.release()));
}

ChildProcess::ChildProcess(pid_t pid, int outputFd) : pid_(pid), outputFd_(outputFd) {}

ChildProcess::~ChildProcess() {
  if (outputFd_ >= 0) ::close(outputFd_);
  Wait();
}

long ChildProcess::ReadOutput(std::span<char> buffer, int timeoutMs) {
  if (outputFd_ < 0) return 0;
  for (;;) {
    pollfd watch{outputFd_, POLLIN, 0};
    const int ready = ::poll(&watch, 1, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return -1;
    if (ready < 0) return 0;
    const ssize_t got = ::read(outputFd_, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    return got < 0 ? 0 : static_cast<long>(got);
  }
}

int ChildProcess::Wait() {
  Reap(0);
  return status_;
}

bool ChildProcess::HasExited() { return Reap(WNOHANG); }

bool ChildProcess::Reap(int flags) {
  if (waited_) return true;
  int raw = 0;
  pid_t done;
  do {
    done = ::waitpid(pid_, &raw, flags);
  } while (done < 0 && errno == EINTR);
  if (done == 0) return false;  // still running (WNOHANG)
  waited_ = true;
  if (done < 0) {
    status_ = 127;
  } else if (WIFEXITED(raw)) {
    status_ = WEXITSTATUS(raw);
  } else if (WIFSIGNALED(raw)) {
    status_ = 128 + WTERMSIG(raw);
  }
  return true;
}

void ChildProcess::Terminate() {
  if (!waited_) ::kill(pid_, SIGTERM);
}

}  // namespace forge
