// The real main window for tests: its own report folder and report record, a shell opener that
// records instead of starting a browser, a recorder of quit requests and a fixed clock for the
// random choices. Start() shows the window and goes through its first show (the welcome window
// is closed as a user would, with its button).
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/shell_open.h"
#include "reports/report_info.h"
#include "support/test_files.h"
#include "ui/main/main_wnd.h"
#include "ui/toolkit/list.h"

namespace forge::ui::test {

class RecordingOpener : public ShellOpener {
 public:
  void Open(const std::string& target) override {
    std::lock_guard lock(mutex_);
    opened_.push_back(target);
  }
  std::vector<std::string> Opened() const {
    std::lock_guard lock(mutex_);
    return opened_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> opened_;
};

// A right click on the rows of `list` at a point of its rows' area, as the list's view reports
// it.
void RightClick(ListUI& list, QPoint point);
// A double click on a row of `list`, as a user makes it.
void DoubleClickRow(ListUI& list, int row);

// A seed of the random choices whose first number is even (advert) or odd (sharing buttons).
std::int64_t SeedWithParity(bool even);

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest();
  ~MainWindowTest() override;

  // Writes a report file into the report folder before the record lists it.
  std::filesystem::path PutReport(const std::string& name, const std::string& contents);
  // Makes the report record (listing the folder) and the window, shows it and goes through the
  // first show. `seconds` seeds the random choices.
  void Start(std::int64_t seconds = SeedWithParity(false));

  CMainWnd& Window() { return *window_; }
  ReportInfo& Reports() { return *reports_; }
  ListUI& ReportList() { return *window_->FindControl<ListUI>(QStringLiteral("ReportList")); }
  QString TextOf(const char* control) const;
  // Clicks a navigation option as a user would.
  void Choose(const char* option);

  forge::test::TempFolder folder_;
  std::filesystem::path reportFolder_;
  RecordingOpener opener_;
  std::vector<int> quitCodes_;
  bool hiddenWhileWelcome_ = false;
  bool welcomeShown_ = false;
  std::unique_ptr<ReportInfo> reports_;
  std::unique_ptr<CMainWnd> window_;
};

}  // namespace forge::ui::test
