// Ctrl+C and SIGTERM as a cancel request of the running job: the job's progress sink answers
// CancelCode, so the engine stops as the user's cancel would and keeps what it wrote.
#pragma once

namespace forge::cli {

// Catches the two signals for as long as it lives (one at a time); a signal the caller chose to
// ignore (nohup, background jobs) stays ignored.
class InterruptAsCancel {
 public:
  InterruptAsCancel();
  ~InterruptAsCancel();
  InterruptAsCancel(const InterruptAsCancel&) = delete;
  InterruptAsCancel& operator=(const InterruptAsCancel&) = delete;

  // True once a signal came since the object was made. Any thread.
  static bool Requested();
};

}  // namespace forge::cli
