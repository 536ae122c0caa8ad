// CProgressWnd, the frame every progress window shares: the page opens the window modally, the
// window starts a worker thread once it is shown, the worker runs the job engine, which reports
// through the window's progress sink, the user may cancel after a question, and the worker ends
// the window with a close code that the page reads as the job's outcome.
//
// A progress window class derives from CProgressWnd and gives:
//   - its class-wide state (one ProgressLock and flags per class, not per window):
//       static CProgressWnd::ClassState& State() { static ClassState state; return state; }
//   - its behaviour, one of the ProgressBehaviour rows below;
//   - GetSkinFile, the layout;
//   - RunJob, the engine call on the worker thread, answering the engine's result;
//   - optionally FinishJob (the close code and last label changes), InitWindow (find further
//     controls; call the base first) and OnClick (further buttons; pass the rest to the base).
// Its progress sink wraps its label updates in ReportProgress:
//   int OnProgress(int percent) {
//     return ReportProgress([&] {
//       Percent()->SetText(QString("%1 %2%").arg(MessageText("MSG0201")).arg(percent));
//       ProgressBar()->SetValue(percent);
//     });
//   }
//
// The sequence:
//   InitWindow (after the layout is loaded): CancelRequested and WorkFinished are reset, the
//     controls "stage", "percent" and "progress" are found (null where the layout lacks them),
//     and the waiting animation listens to "percent".
//   "windowinit": the "Messages" section is taken, ApplyLanguage puts the window's own section
//     on the controls, and the worker starts.
//   Worker: starts the waiting animation (timer 1000, every 100 ms, on "percent") where the
//     behaviour has one, RunJob, stops the animation, sets WorkFinished (where the behaviour has
//     it), asks FinishJob for the close code and asks the window to close with it. That request
//     is the worker's last use of the window.
//   Progress sink (ReportProgress): under ProgressLock; CancelCode once a cancel is confirmed,
//     otherwise the labels are updated and 0 is answered.
//   A click on a cancel control: ProgressLock is taken (the worker now waits at its next
//     report); where the behaviour says so, a job that has finished closes the window with 1
//     at once; otherwise the question box asks (its text the "Messages" key of the behaviour).
//     Yes: CancelRequested is set and the lock released; then, as the behaviour says, the window
//     waits until the worker has finished (and may then ask for code 2 itself), or goes on at
//     once. Any other answer releases the lock and the job goes on.
//   Escape does nothing; a close from the desktop counts as a click on the first cancel control.
//
// Waiting for the worker keeps the window painted (events are processed while it waits); a
// second cancel click meanwhile is ignored. The worker thread is joined when the window object
// is destroyed, which is after RunModal has returned.
//
// Threading: RunJob, FinishJob and the sinks run on the worker thread; they change controls
// only through the calls marked "any thread" (SetText, SetValue, SetEnabled, SetVisible, timers,
// Close). Everything else runs on the UI thread.
#pragma once

#include <QString>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/result_codes.h"
#include "ui/popups/popup_wnd.h"

namespace forge {
class LanguageSection;
}

namespace forge::ui {

class ProgressUI;

// What tells the progress windows apart.
struct ProgressBehaviour {
  enum class AfterYes {
    Wait,            // wait until the worker has finished; its close request ends the window
    WaitThenCancel,  // the same, then ask for code 2 (taking effect only if the worker's
                     // request has not ended the window already)
    Continue,        // no wait: the worker stops at its next report and closes the window
  };
  enum class CloseCodes {
    ByResult,          // CancelCode -> 2, 0 -> 1, any other result -> 3
    AlwaysDone,        // 1 whatever the result (the page reads the result from the window)
    DoneUnlessCancel,  // CancelCode -> 2, any other result -> 1
  };

  std::string languageSection{};          // the window's own language section
  std::vector<QString> cancelControls{};  // clicks on these ask the cancel question
  std::string questionKey{};              // "Messages" key of the question
  int questionWidth = 380;                // the question box is questionWidth x 170
  bool closesWhenFinished = false;        // a cancel click after the job closes with 1
  AfterYes afterYes = AfterYes::Wait;
  bool disablesCancelWhileAsking = false;  // cancel controls disabled while asking, and
                                           // after yes for good
  bool hasWorkFinished = true;             // the window keeps the WorkFinished flag
  QString waitingFormat{};                 // non-empty: the dots animation, one "%s"
  CloseCodes closeCodes = CloseCodes::ByResult;

  // The five progress windows of the program.
  static ProgressBehaviour CountFiles();
  static ProgressBehaviour BuildDisc();
  static ProgressBehaviour BurnIso();
  static ProgressBehaviour CreateImage();
  static ProgressBehaviour ExtractIso();
};

class CProgressWnd : public CPopUpWnd {
 public:
  // One set per progress window class; at most one window of a class is open at a time.
  struct ClassState {
    std::recursive_mutex progressLock;    // ProgressLock
    std::atomic<int> cancelRequested{0};  // CancelRequested, set by the UI thread under the lock
    std::atomic<int> workFinished{0};     // WorkFinished, set by the worker
  };

  CProgressWnd(ClassState& state, ProgressBehaviour behaviour);
  ~CProgressWnd() override;

  ClassState& State() const { return state_; }
  const ProgressBehaviour& Behaviour() const { return behaviour_; }
  // The dots of the waiting animation (1 when constructed, then 2 to 7).
  int DotCount() const { return dots_; }

  // The frame of a progress sink, for windows and for the null window: under ProgressLock,
  // answers CancelCode once a cancel is confirmed; otherwise runs `update` when there is a
  // window and answers 0.
  template <class Update>
  static int ReportProgress(ClassState& state, CProgressWnd* window, Update&& update) {
    std::lock_guard lock(state.progressLock);
    if (state.cancelRequested.load()) return CancelCode;
    if (window) update();
    return 0;
  }

 protected:
  template <class Update>
  int ReportProgress(Update&& update) {
    return ReportProgress(state_, this, std::forward<Update>(update));
  }

  // The job on the worker thread; answers the engine's result.
  virtual int RunJob() = 0;
  // On the worker thread after the job (and WorkFinished): the close code to ask for.
  virtual int FinishJob(int result);

  // The text of a "Messages" key (any thread).
  QString MessageText(const std::string& key) const;
  ControlUI* Stage() const { return stage_; }
  ControlUI* Percent() const { return percent_; }
  ProgressUI* ProgressBar() const { return progress_; }

  void InitWindow() override;
  void OnWindowInit(Notification& notification) override;
  void OnClick(Notification& notification) override;
  bool FilterKey(QKeyEvent&) override { return false; }
  void OnSystemClose() override;
  // The cancel question and what follows it.
  virtual void OnCancelClicked();

 private:
  void WorkerMain();
  void WaitForWorker();
  void SetCancelControlsEnabled(bool enabled);
  void OnWaitingTick();

  ClassState& state_;
  const ProgressBehaviour behaviour_;
  LanguageSection* messages_ = nullptr;
  ControlUI* stage_ = nullptr;
  ControlUI* percent_ = nullptr;
  ProgressUI* progress_ = nullptr;
  int dots_ = 1;
  std::thread worker_;
  std::atomic<bool> workerDone_{false};
  bool waiting_ = false;
};

}  // namespace forge::ui
