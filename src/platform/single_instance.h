// One running program per user: a lock file and a local socket in a private folder of the user.
//
// The first process takes the lock and keeps it while it lives (the kernel lets it go when the
// process ends, however it ends, so a crash leaves no stale lock behind). Once its main window
// exists it listens on the socket. A later process finds the lock taken and connects to the
// socket; the connection itself is the request "show your main window". A refused connection
// means the first process has no window yet.
//
// Ownership: the object owns the lock and the listening socket and removes the socket file when
// it goes. Threading: one thread uses an object; the descriptor of Listen() may be watched by an
// event loop on that thread.
#pragma once

#include <filesystem>

#include "platform/file_descriptor.h"

namespace forge {

// The user's private folder for the lock and the socket: $XDG_RUNTIME_DIR when it is set to an
// absolute path, else /tmp/norvessa-image-forge-<uid>/ (created with mode 0700 and used only
// when it belongs to the user and nobody else may enter it). Empty when no such folder exists.
std::filesystem::path GetInstanceFolder();

class SingleInstance {
 public:
  // Uses `folder` for norvessa-image-forge.lock and norvessa-image-forge.socket.
  explicit SingleInstance(std::filesystem::path folder);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Takes the lock. False only when another process holds it. When the lock cannot be made at
  // all (no folder, no permission) this process counts as the first one and the answer is true.
  bool Acquire();

  // For a later process: asks the first one to show its main window. True when the first one
  // listens (it has a window) and took the request; false when it has no window yet.
  bool AskFirstToShow() const;

  // For the first process, once its main window exists: listens on the socket. Answers the
  // descriptor to watch for requests (readable when one waits), or -1 when listening failed;
  // the program then runs without answering later starts.
  int Listen();

  // Takes every waiting request without blocking; answers how many there were.
  int TakeShowRequests();

  std::filesystem::path LockPath() const;
  std::filesystem::path SocketPath() const;

 private:
  std::filesystem::path folder_;
  FileDescriptor lock_;
  FileDescriptor listener_;
};

}  // namespace forge
