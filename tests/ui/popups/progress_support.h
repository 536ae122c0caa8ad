// A fake job engine the test holds at any report, and a progress window that runs it, for the
// tests of the progress-window frame.
#pragma once

#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "ui/popups/progress_wnd.h"
#include "ui/toolkit/progress.h"

namespace forge::ui::test {

// Reports each step's percentage to its sink and stops at the first non-zero answer, as the
// engines do. The test lets it go step by step: Allow(n) lets it make n reports in all, and one
// more to return its result after the last step.
class FakeEngine {
 public:
  explicit FakeEngine(std::vector<int> steps, int result = 0)
      : steps_(std::move(steps)), result_(result) {}

  void Allow(int count) {
    std::lock_guard lock(mutex_);
    allowed_ = count;
    changed_.notify_all();
  }
  void AllowAll() { Allow(static_cast<int>(steps_.size()) + 1); }

  int Run(const std::function<int(int)>& sink) {
    for (size_t i = 0; i < steps_.size(); ++i) {
      WaitUntilAllowed(static_cast<int>(i));
      inSink_ = true;
      const int answer = sink(steps_[i]);
      inSink_ = false;
      {
        std::lock_guard lock(mutex_);
        answers_.push_back(answer);
      }
      if (answer != 0) return answer;
    }
    WaitUntilAllowed(static_cast<int>(steps_.size()));
    return result_;
  }

  // Reports that have returned, with their answers.
  std::vector<int> Answers() const {
    std::lock_guard lock(mutex_);
    return answers_;
  }
  int Reported() const { return static_cast<int>(Answers().size()); }
  // True while a report is under way (waiting for the window's lock, for example).
  bool InSink() const { return inSink_; }

 private:
  void WaitUntilAllowed(int index) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return allowed_ > index; });
  }

  const std::vector<int> steps_;
  const int result_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int allowed_ = 1 << 30;
  std::vector<int> answers_;
  std::atomic<bool> inSink_{false};
};

// A progress window of the given behaviour and layout whose job is the fake engine; its sink
// writes "percent" and "progress" as the percentage windows do.
class TestProgressWnd : public CProgressWnd {
 public:
  TestProgressWnd(ClassState& state, ProgressBehaviour behaviour, QString layout,
                  FakeEngine& engine)
      : CProgressWnd(state, std::move(behaviour)), layout_(std::move(layout)), engine_(engine) {}

  int OnProgress(int percent) {
    return ReportProgress([&] {
      if (Behaviour().waitingFormat.isEmpty() && Percent()) {
        Percent()->SetText(QStringLiteral("%1 %2%").arg(MessageText("MSG0201")).arg(percent));
      }
      if (ProgressBar()) ProgressBar()->SetValue(percent);
    });
  }

 protected:
  QString GetSkinFile() const override { return layout_; }
  int RunJob() override {
    return engine_.Run([this](int percent) { return OnProgress(percent); });
  }

 private:
  QString layout_;
  FakeEngine& engine_;
};

}  // namespace forge::ui::test
