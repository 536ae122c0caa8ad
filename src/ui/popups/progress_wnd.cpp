#include "ui/popups/progress_wnd.h"

#include <QEventLoop>
#include <QTimer>

#include "app/language_table.h"
#include "ui/popups/message_box.h"
#include "ui/toolkit/progress.h"

namespace forge::ui {

namespace {

constexpr int kWaitingTimer = 1000;
constexpr int kWaitingPeriodMs = 100;
constexpr int kWorkerPollMs = 50;
constexpr int kQuestionHeight = 170;

}  // namespace

ProgressBehaviour ProgressBehaviour::CountFiles() {
  return {.languageSection = "CountFileWnd",
          .cancelControls = {QStringLiteral("closebtn"), QStringLiteral("BtnCancel")},
          .questionKey = "MSG0403",
          .questionWidth = 370,
          .closesWhenFinished = true,
          .afterYes = AfterYes::WaitThenCancel,
          .waitingFormat = QStringLiteral("Please wait for a moment %s"),
          .closeCodes = CloseCodes::ByResult};
}

ProgressBehaviour ProgressBehaviour::BuildDisc() {
  return {.languageSection = "BuildDiscWnd",
          .cancelControls = {QStringLiteral("closebtn"), QStringLiteral("BtnCancel")},
          .questionKey = "MSG0204",
          .questionWidth = 380,
          .afterYes = AfterYes::Wait,
          .closeCodes = CloseCodes::AlwaysDone};
}

ProgressBehaviour ProgressBehaviour::BurnIso() {
  return {.languageSection = "BurnISOWnd",
          .cancelControls = {QStringLiteral("closebtn"), QStringLiteral("BtnCancel")},
          .questionKey = "MSG0204",
          .questionWidth = 380,
          .afterYes = AfterYes::Continue,
          .disablesCancelWhileAsking = true,
          .hasWorkFinished = false,
          .closeCodes = CloseCodes::AlwaysDone};
}

ProgressBehaviour ProgressBehaviour::CreateImage() {
  return {.languageSection = "CreateImageWnd",
          .cancelControls = {QStringLiteral("closebtn"), QStringLiteral("cancelbtn")},
          .questionKey = "MSG0306",
          .questionWidth = 400,
          .afterYes = AfterYes::Wait,
          .closeCodes = CloseCodes::ByResult};
}

ProgressBehaviour ProgressBehaviour::ExtractIso() {
  return {.languageSection = "ExtractISOWnd",
          .cancelControls = {QStringLiteral("closebtn"), QStringLiteral("BtnCancel")},
          .questionKey = "MSG0403",
          .questionWidth = 370,
          .closesWhenFinished = true,
          .afterYes = AfterYes::WaitThenCancel,
          .waitingFormat = QStringLiteral("Please wait for a moment%s"),
          .closeCodes = CloseCodes::DoneUnlessCancel};
}

CProgressWnd::CProgressWnd(ClassState& state, ProgressBehaviour behaviour)
    : state_(state), behaviour_(std::move(behaviour)) {}

CProgressWnd::~CProgressWnd() {
  if (worker_.joinable()) worker_.join();
}

int CProgressWnd::FinishJob(int result) {
  switch (behaviour_.closeCodes) {
    case ProgressBehaviour::CloseCodes::AlwaysDone:
      return PopupDone;
    case ProgressBehaviour::CloseCodes::DoneUnlessCancel:
      return result == CancelCode ? PopupCancelled : PopupDone;
    case ProgressBehaviour::CloseCodes::ByResult:
      break;
  }
  if (result == CancelCode) return PopupCancelled;
  return result == 0 ? PopupDone : PopupFailed;
}

QString CProgressWnd::MessageText(const std::string& key) const {
  LanguageSection& messages =
      messages_ ? *messages_ : LanguageTable::Instance().GetSection("Messages");
  return QString::fromStdString(messages.LookupText(key));
}

void CProgressWnd::InitWindow() {
  state_.cancelRequested = 0;
  if (behaviour_.hasWorkFinished) state_.workFinished = 0;
  stage_ = FindControl(QStringLiteral("stage"));
  percent_ = FindControl(QStringLiteral("percent"));
  progress_ = FindControl<ProgressUI>(QStringLiteral("progress"));
  if (percent_ && !behaviour_.waitingFormat.isEmpty()) {
    percent_->AddNotifyHandler([this](Notification& notification) {
      if (notification.type == QString::fromUtf16(notify::kTimer) &&
          notification.wParam == kWaitingTimer) {
        OnWaitingTick();
      }
      return false;
    });
  }
}

void CProgressWnd::OnWindowInit(Notification&) {
  messages_ = &LanguageTable::Instance().GetSection("Messages");
  ApplyLanguage(behaviour_.languageSection);
  if (!worker_.joinable()) worker_ = std::thread(&CProgressWnd::WorkerMain, this);
}

void CProgressWnd::WorkerMain() {
  const bool animated = percent_ && !behaviour_.waitingFormat.isEmpty();
  if (animated) SetTimer(percent_, kWaitingTimer, kWaitingPeriodMs);
  const int result = RunJob();
  if (animated) KillTimer(percent_, kWaitingTimer);
  if (behaviour_.hasWorkFinished) state_.workFinished = 1;
  Close(FinishJob(result));
  workerDone_ = true;  // nothing of the window is touched after this
}

void CProgressWnd::OnWaitingTick() {
  if (dots_ > 6) dots_ = 1;
  ++dots_;
  QString text = behaviour_.waitingFormat;
  text.replace(QStringLiteral("%s"), QString(dots_, QLatin1Char('.')));
  percent_->SetText(text);
}

void CProgressWnd::OnClick(Notification& notification) {
  const QString name = notification.sender ? notification.sender->Name() : QString();
  for (const auto& cancel : behaviour_.cancelControls) {
    if (name == cancel) {
      OnCancelClicked();
      return;
    }
  }
  SkinWindow::OnClick(notification);
}

void CProgressWnd::OnSystemClose() {
  if (!behaviour_.cancelControls.empty()) OnCancelClicked();
}

void CProgressWnd::OnCancelClicked() {
  if (waiting_ || HasEnded()) return;
  if (behaviour_.disablesCancelWhileAsking) SetCancelControlsEnabled(false);
  std::unique_lock lock(state_.progressLock);
  if (behaviour_.hasWorkFinished && behaviour_.closesWhenFinished && state_.workFinished) {
    lock.unlock();
    Close(PopupDone);
    return;
  }
  const int answer = ShowMessageBox(
      this, QStringLiteral("xml\\MessageBox_Question.xml"), QString::fromUtf16(kTitleQuestion),
      MessageText(behaviour_.questionKey), behaviour_.questionWidth, kQuestionHeight);
  if (answer != 1) {
    lock.unlock();
    if (behaviour_.disablesCancelWhileAsking) SetCancelControlsEnabled(true);
    return;
  }
  state_.cancelRequested = 1;
  lock.unlock();
  if (behaviour_.afterYes == ProgressBehaviour::AfterYes::Continue) return;
  WaitForWorker();
  if (behaviour_.afterYes == ProgressBehaviour::AfterYes::WaitThenCancel) Close(PopupCancelled);
}

void CProgressWnd::WaitForWorker() {
  if (!worker_.joinable() || workerDone_) return;
  waiting_ = true;
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(kWorkerPollMs);
  QObject::connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
    if (workerDone_) loop.quit();
  });
  poll.start();
  loop.exec();
  waiting_ = false;
}

void CProgressWnd::SetCancelControlsEnabled(bool enabled) {
  for (const auto& name : behaviour_.cancelControls) {
    if (auto* control = FindControl(name)) control->SetEnabled(enabled);
  }
}

}  // namespace forge::ui
