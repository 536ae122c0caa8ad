#include "ui/main/main_window_fixture.h"

#include <QTest>
#include <QTreeView>

#include "app/language_table.h"
#include "app/paths.h"
#include "ui/popups/welcome_wnd.h"
#include "ui/support/ui_test_support.h"
#include "ui/toolkit/quit.h"

namespace forge::ui::test {

void RightClick(ListUI& list, QPoint point) { emit list.View()->customContextMenuRequested(point); }

void DoubleClickRow(ListUI& list, int row) {
  QTreeView* view = list.View();
  const QRect cell = view->visualRect(view->model()->index(row, 0));
  // The first press of a double click is a click of its own.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

std::int64_t SeedWithParity(bool even) {
  std::int64_t seed = 1400000000;
  while ((DrawNumber(seed) % 2 == 0) != even) ++seed;
  return seed;
}

MainWindowTest::MainWindowTest() : reportFolder_(folder_ / "Report") {
  std::filesystem::create_directories(reportFolder_);
  SetShellOpener(&opener_);
  SetQuitHandler([this](int code) { quitCodes_.push_back(code); });
}

MainWindowTest::~MainWindowTest() {
  window_.reset();
  SetQuitHandler(nullptr);
  SetShellOpener(nullptr);
}

std::filesystem::path MainWindowTest::PutReport(const std::string& name,
                                                const std::string& contents) {
  const auto path = reportFolder_ / name;
  forge::test::WriteFile(path, contents);
  return path;
}

void MainWindowTest::Start(std::int64_t seconds) {
  welcomeShown_ = hiddenWhileWelcome_ = false;
  ReportEnvironment environment;
  environment.reportFolder = reportFolder_;
  environment.programFolder = GetModuleFolder();
  environment.language = &LanguageTable::Instance();
  environment.computer = "test-host";
  environment.user = "tester";
  environment.opener = &opener_;
  reports_ = std::make_unique<ReportInfo>(environment);
  window_ = std::make_unique<CMainWnd>(*reports_);
  window_->SetSecondsClock([seconds] { return seconds; });
  ASSERT_TRUE(window_->Create(nullptr));
  ModalWatch welcome(
      [](SkinWindow& window) { return dynamic_cast<CWelComeWnd*>(&window) != nullptr; },
      [this](SkinWindow& window) {
        welcomeShown_ = true;
        hiddenWhileWelcome_ = !window_->isVisible();
        Click(window, QStringLiteral("BtnOk"));
      });
  window_->CenterWindow();
  window_->ShowWindow(true);
  ASSERT_TRUE(ProcessEventsUntil([this] { return welcomeShown_ && window_->isVisible(); }));
}

QString MainWindowTest::TextOf(const char* control) const {
  auto* found = window_->FindControl(QString::fromUtf8(control));
  return found ? found->Text() : QStringLiteral("<missing %1>").arg(control);
}

void MainWindowTest::Choose(const char* option) { Click(*window_, QString::fromUtf8(option)); }

}  // namespace forge::ui::test
