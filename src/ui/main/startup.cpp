#include "ui/main/startup.h"

#include <QApplication>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/paths.h"
#include "platform/device_monitor.h"
#include "platform/single_instance.h"
#include "reports/report_info.h"
#include "reports/template_check.h"
#include "ui/main/main_wnd.h"
#include "ui/main/platform_events.h"
#include "ui/popups/message_box.h"

namespace forge::ui {

namespace {

// The two notices of the start are fixed English texts, shown before any window exists.
void ShowStartNotice(const char16_t* message, int height) {
  ShowMessageBox(nullptr, QStringLiteral("xml\\MessageBox_Information.xml"),
                 QString::fromUtf16(kTitleInformation), QString::fromUtf16(message), 350, height);
}

}  // namespace

bool PrepareStart(const std::filesystem::path& programFolder, SingleInstance& instance) {
  ReportInfo::Instance();
  if (CheckReportTemplates(programFolder) != 0) {
    ShowStartNotice(kInvalidReportTheme, 160);
    return false;
  }
  if (!instance.Acquire()) {
    if (!instance.AskFirstToShow()) ShowStartNotice(kAlreadyRunning, 150);
    return false;
  }
  return true;
}

int RunImageForge() {
  SingleInstance instance(GetInstanceFolder());
  if (!PrepareStart(GetModuleFolder(), instance)) return 0;

  CMainWnd window(ReportInfo::Instance());
  if (!window.Create(nullptr)) return 0;
  window.CenterWindow();
  window.ShowWindow(true);

  ShowRequestWatcher showRequests(instance, window);
  std::string problem;
  const std::unique_ptr<DeviceMonitor> monitor = DeviceMonitor::Open(problem);
  std::optional<DeviceChangeWatcher> deviceChanges;
  if (monitor) {
    deviceChanges.emplace(*monitor, window);
  } else {
    // The program works without; the disk list then changes only at the next start.
    std::fprintf(stderr, "image-forge: disks that come and go are not noticed: %s\n",
                 problem.c_str());
  }

  QApplication::exec();
  return 0;
}

}  // namespace forge::ui
