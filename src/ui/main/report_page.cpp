// The Report page (tab 4): the reports of earlier jobs, opened by a double-click, exported into
// a folder, or all deleted.
#include <filesystem>
#include <system_error>

#include "app/formatting.h"
#include "reports/report_info.h"
#include "ui/main/main_wnd.h"
#include "ui/popups/message_box.h"
#include "ui/popups/pickers.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/list.h"

namespace forge::ui {

namespace {

// The report's time for the list; empty when the file has gone since the report was listed.
QString ModifiedText(const std::filesystem::path& path) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(path, error);
  if (error) return {};
  return QString::fromStdString(FormatFileTimeText(time));
}

}  // namespace

void CMainWnd::FillReportList() {
  if (!reportList_) return;
  reportList_->RemoveAllRows();
  for (const auto& path : reports_.ReportFiles()) {
    auto row = std::make_unique<ListRow>();
    row->SetText(0, QString::fromStdString(path.filename().string()));
    row->SetText(1, ModifiedText(path));
    row->SetUserData(QString::fromStdString(path.string()));
    reportList_->AddRow(std::move(row));
  }
}

bool CMainWnd::OnShowReportPage(Notification&) {
  FillReportList();
  if (lblLogo_) lblLogo_->SetBkImage(QString::fromUtf16(kLogoTools));
  if (tabPage_) tabPage_->SelectItem(TabReport);
  return true;
}

bool CMainWnd::OnEmptyReports(Notification&) {
  reports_.DeleteAllReports();
  if (reportList_) reportList_->RemoveAllRows();
  return true;
}

bool CMainWnd::OnExportReport(Notification&) {
  const int selected = reportList_ ? reportList_->SelectedIndex() : -1;
  if (selected < 0 || reportList_->RowCount() == 0) {
    ShowMessage(QStringLiteral("xml\\MessageBox_Information.xml"),
                QString::fromUtf16(kTitleInformation), "MSG0601", 300, 170);
    return true;
  }
  FolderPickRequest request;
  request.owner = this;
  if (PickFolders(request) != PickConfirmed) return true;
  const std::filesystem::path source = reportList_->RowAt(selected)->UserData().toStdString();
  const std::filesystem::path destination =
      std::filesystem::path(request.path.toStdString()) / source.filename();
  // Like the rest of the page, the copy tells nothing; a copy onto the report itself is
  // refused by the library rather than emptying it.
  std::error_code error;
  std::filesystem::copy_file(source, destination,
                             std::filesystem::copy_options::overwrite_existing, error);
  return true;
}

}  // namespace forge::ui
