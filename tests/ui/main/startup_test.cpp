// The start of the program: the template check and the one-program-per-user rule before the
// main window, and a later start of the real program asking this window to show itself.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/child_process.h"
#include "platform/single_instance.h"
#include "ui/main/main_window_fixture.h"
#include "ui/main/platform_events.h"
#include "ui/main/startup.h"
#include "ui/popups/message_box.h"
#include "ui/popups/welcome_wnd.h"
#include "ui/support/ui_test_support.h"

namespace forge::ui::test {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable while it lives.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (saved_) {
      ::setenv(name_, saved_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

fs::path PrivateFolder(const fs::path& path) {
  fs::create_directories(path);
  ::chmod(path.c_str(), 0700);
  return path;
}

struct Notice {
  bool shown = false;
  QString title;
  QString message;
  QSize size;
};

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest()
      : programFolder_(folder_ / "program"), instanceFolder_(PrivateFolder(folder_ / "run")) {
    fs::create_directories(programFolder_);
    fs::copy(forge::test::BuildProgramFolder() / "ReportTheme", programFolder_ / "ReportTheme",
             fs::copy_options::recursive);
  }

  // Runs the steps before the main window; the notice shown meanwhile is read and closed.
  bool Prepare(SingleInstance& instance, Notice& notice, const char* screenshot) {
    ModalWatch watch([&](SkinWindow& box) {
      notice.shown = true;
      notice.title = box.FindControl(QStringLiteral("title"))->Text();
      notice.message = box.FindControl(QStringLiteral("message"))->Text();
      notice.size = box.size();
      SaveScreenshot(box, QString::fromUtf8(screenshot));
      Click(box, QStringLiteral("okbtn"));
    });
    return PrepareStart(programFolder_, instance);
  }

  forge::test::TempFolder folder_;
  fs::path programFolder_;
  fs::path instanceFolder_;
};

TEST_F(StartUpTest, TemplatesAreCheckedFirstThenOnlyOneProgramRuns) {
  enum class Other { None, Starting, WithWindow };
  struct Case {
    const char* what;
    bool changedTemplate;
    Other other;
    bool goesOn;
    const char16_t* notice;  // null: no notice
    int noticeHeight;
  };
  const Case cases[] = {
      {"first start", false, Other::None, true, nullptr, 0},
      {"changed template", true, Other::None, false, kInvalidReportTheme, 160},
      {"changed template, another program running", true, Other::WithWindow, false,
       kInvalidReportTheme, 160},
      {"another program still starting", false, Other::Starting, false, kAlreadyRunning, 150},
      {"another program with its window", false, Other::WithWindow, false, nullptr, 0},
  };
  const fs::path changed = programFolder_ / "ReportTheme" / "iso-burner.html";
  const std::string original = forge::test::ReadFile(changed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    forge::test::WriteFile(changed, c.changedTemplate ? original + " " : original);
    std::optional<SingleInstance> other;
    if (c.other != Other::None) {
      other.emplace(instanceFolder_);
      ASSERT_TRUE(other->Acquire());
      if (c.other == Other::WithWindow) {
        ASSERT_GE(other->Listen(), 0);
      }
    }
    SingleInstance instance(instanceFolder_);
    Notice notice;
    const std::string shot = std::string("startup_notice_") + (c.changedTemplate ? "theme" : "running");
    EXPECT_EQ(Prepare(instance, notice, shot.c_str()), c.goesOn);
    EXPECT_EQ(notice.shown, c.notice != nullptr);
    if (c.notice) {
      EXPECT_EQ(notice.title, QString::fromUtf16(kTitleInformation));
      EXPECT_EQ(notice.message, QString::fromUtf16(c.notice));
      EXPECT_EQ(notice.size, QSize(350, c.noticeHeight));
    }
    // Only a start that goes on holds the lock afterwards.
    SingleInstance probe(instanceFolder_);
    EXPECT_EQ(probe.Acquire(), c.other == Other::None && !c.goesOn);
    // The running program was asked to show its window only when the templates were intact.
    if (c.other == Other::WithWindow) {
      EXPECT_EQ(other->TakeShowRequests(), c.changedTemplate ? 0 : 1);
    }
  }
}

// The test is the running program, its window hidden behind the welcome window; the real
// program started again asks it to show the window and ends with 0 without a window of its own.
TEST_F(MainWindowTest, ALaterStartShowsTheWindowEvenBehindTheWelcomeWindow) {
  const fs::path instanceFolder = PrivateFolder(folder_ / "run");
  const ScopedEnvironment runtime("XDG_RUNTIME_DIR", instanceFolder.string());
  const ScopedEnvironment data("XDG_DATA_HOME", (folder_ / "data").string());
  SingleInstance first(instanceFolder);
  ASSERT_TRUE(first.Acquire());

  ReportEnvironment environment;
  environment.reportFolder = reportFolder_;
  environment.opener = &opener_;
  reports_ = std::make_unique<ReportInfo>(environment);
  window_ = std::make_unique<CMainWnd>(*reports_);
  ASSERT_TRUE(window_->Create(nullptr));
  window_->ShowWindow(true);
  ShowRequestWatcher requests(first, *window_);
  ASSERT_TRUE(requests.IsListening());

  int exitStatus = -1;
  bool hiddenBefore = false;
  bool shownAfter = false;
  bool welcomeOpen = false;
  ModalWatch welcome(
      [](SkinWindow& window) { return dynamic_cast<CWelComeWnd*>(&window) != nullptr; },
      [&](SkinWindow& window) {
        hiddenBefore = !window_->isVisible();
        int error = 0;
        auto later = ChildProcess::Start(
            {(forge::test::BuildProgramFolder() / "image-forge").string()}, {}, error);
        if (later) {
          if (!ProcessEventsUntil([&] { return later->HasExited(); }, 30000)) later->Terminate();
          exitStatus = later->Wait();
          ProcessEventsUntil([&] { return window_->isVisible(); });
        } else {
          ADD_FAILURE() << "the program cannot be started: errno " << error;
          exitStatus = 127;
        }
        shownAfter = window_->isVisible();
        welcomeOpen = !window.HasEnded();
        Click(window, QStringLiteral("BtnOk"));
      });
  ASSERT_TRUE(ProcessEventsUntil([&] { return exitStatus != -1 && window_->isVisible(); }, 60000));
  EXPECT_TRUE(hiddenBefore);
  EXPECT_EQ(exitStatus, 0);
  EXPECT_TRUE(shownAfter);
  EXPECT_TRUE(welcomeOpen);
}

}  // namespace
}  // namespace forge::ui::test
