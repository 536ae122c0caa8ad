// CMainWnd, the program's only top-level window ("Norvessa Image Forge", 1000 x 650, from
// "xml\skin.xml"): a header with the logo and the Help button, a navigation column of options
// and the pages in the tab layout "TabPage":
//   tab 0 welcome, 1 Byte Backup, 2 ISO Extractor, 3 ISO Creator and ISO Burner, 4 Report.
//
// Life of the window:
//   constructor     the share links; nothing is shown.
//   Create          loads the layout; InitWindow binds the controls by name and attaches the
//                   page handlers.
//   "windowinit"    (first show) hides the window, runs the welcome window, picks the welcome
//                   page's panel (sharing buttons or advert, one in two), shows the window
//                   again, takes the "Messages" section, puts the "MainWnd" texts on the
//                   controls and fills the report list.
//   closing         "closebtn" or a close from the desktop ends the window, and its end asks
//                   the application's event loop to end with 0.
//
// Navigation: the options OptByteBackup, OptExtractor, OptCreator and OptBurner set the page
// mode, the logo picture and the tab; OptCreator and OptBurner share tab 3 and differ only in
// the controls shown. OptReport shows the Report page without changing the page mode.
// OptISOT1..3 choose the file system.
//
// Escape and Return never close the window; they go to the focused control. A press in the
// top 90 pixels drags the window unless it lands on a button, option, text, edit or check box;
// the window cannot be resized by its edges.
//
// Other windows talk to it through OnMenuCommand (the popup menus: a command is a click on the
// page button it stands for, also when that page is not shown) and OnDeviceChange (the device
// layer: a disk came or went; the disk list's refresh timers start).
//
// Ownership: the entry owns the window; the window owns its controls. The report record is not
// owned. UI thread only.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/device_monitor.h"
#include "ui/popups/menu_wnd.h"
#include "ui/toolkit/skin_window.h"

namespace forge {
class LanguageSection;
class ReportInfo;
}  // namespace forge

namespace forge::ui {

class ButtonUI;
class ComboUI;
class CPopUpWnd;
class ListUI;
class ProgressUI;
class TabLayoutUI;

// Page modes: which tool the frame shows (the Report page keeps the mode of the last tool).
enum PageMode : std::int32_t {
  PageWelcome = 0,
  PageByteBackup = 1,
  PageExtractor = 2,
  PageCreator = 3,
  PageBurner = 4,
};

// Tabs of "TabPage".
enum PageTab : int {
  TabWelcome = 0,
  TabByteBackup = 1,
  TabExtractor = 2,
  TabCreatorBurner = 3,
  TabReport = 4,
};

// Refresh timers of the disk list, started by device changes.
inline constexpr int kDiskArrivalTimer = 0;
inline constexpr int kDiskRemovalTimer = 1;
inline constexpr int kDiskRefreshDelayMs = 5000;

// The logo pictures: the full logo on the welcome page, the short one on the tool pages.
inline constexpr char16_t kLogoWelcome[] = u"file='logo.png' source='0,0,379,72' dest='0,0,379,72'";
inline constexpr char16_t kLogoTools[] = u"file='logo.png' source='0,74,379,146' dest='0,0,379,72'";

inline constexpr char16_t kMainWindowTitle[] = u"Norvessa Image Forge";

// One number from a pseudo-random sequence started at `seed` (the current second): the same
// seed gives the same number.
std::uint32_t DrawNumber(std::int64_t seed);

class CMainWnd : public SkinWindow, public MenuCommandTarget {
 public:
  // `reports`: the report record the Report page lists (the process-wide one in the program).
  explicit CMainWnd(ReportInfo& reports);
  ~CMainWnd() override;

  void OnMenuCommand(MenuCommand command, std::int64_t wParam, std::int64_t lParam) override;
  void OnDeviceChange(DeviceChangeKind kind);
  HitArea HitTest(QPoint clientPoint) const override;

  std::int32_t PageModeValue() const { return pageMode_; }
  std::int32_t FileSystemChoice() const { return fileSystemChoice_; }

  // The sharing links by service ("facebook", "twitter", "google", "youtube").
  const std::map<std::string, std::vector<std::string>>& ShareLinks() const { return shareLinks_; }

  // The current time in seconds, which seeds the random choices (the welcome panel, the
  // Facebook and Twitter links). Tests fix it.
  void SetSecondsClock(std::function<std::int64_t()> clock) { secondsClock_ = std::move(clock); }

  // The procedures every page uses:
  // a message box owned by this window with the text of a "Messages" key; answers the box's
  // answer.
  int ShowMessage(const QString& layoutFile, const QString& title, const std::string& key,
                  int width, int height);
  // A popup job window: created `width` x `height`, centred on this window, run modally;
  // answers its close code. The caller reads the results from `popup` afterwards.
  int RunPopup(CPopUpWnd& popup, int width, int height);

  // The report list from the report record (also done at first show and by OptReport).
  void FillReportList();

 protected:
  QString GetSkinFile() const override { return QStringLiteral("xml\\skin.xml"); }
  void InitWindow() override;
  void Notify(Notification& notification) override;
  bool FilterKey(QKeyEvent& event) override;
  ControlUI* CreateControl(const QString& elementName) override;
  QStringList CaptionBlockingClasses() const override;
  void OnFinalMessage() override;

 private:
  void Bind();
  void OnFirstShow();
  void ChooseWelcomePanel();
  void OnSelectChanged(Notification& notification);
  void ShowToolPage(std::int32_t mode, int tab);
  void RefreshCapacityDisplay();
  void OnListItemDbClick(Notification& notification);
  std::int64_t NowSeconds() const;

  // Report page.
  bool OnShowReportPage(Notification& notification);
  bool OnEmptyReports(Notification& notification);
  bool OnExportReport(Notification& notification);

  // Help menu, sharing and advert links.
  bool OnHelp(Notification& notification);
  void OpenShareLink(const std::string& service, bool randomLink);
  bool OnAdvert(Notification& notification);

  ReportInfo& reports_;
  LanguageSection* messages_ = nullptr;

  // Controls, found by name when the layout has loaded; the layout owns them.
  TabLayoutUI* tabPage_ = nullptr;
  ListUI* fileList_ = nullptr;
  ListUI* diskList_ = nullptr;
  ControlUI* fileTree_ = nullptr;
  ListUI* extractFileList_ = nullptr;
  ListUI* reportList_ = nullptr;
  ButtonUI* btnAddFile_ = nullptr;
  ButtonUI* btnAddFolder_ = nullptr;
  ButtonUI* btnLoadIso_ = nullptr;
  ButtonUI* btnRemoveFile_ = nullptr;
  ButtonUI* btnExtractIso_ = nullptr;
  ButtonUI* btnCreateDiskImg_ = nullptr;
  ButtonUI* btnCreateFileIso_ = nullptr;
  ButtonUI* btnBurnIso_ = nullptr;
  ButtonUI* btnAdUrl_ = nullptr;
  ControlUI* lblBuildDiscTitle_ = nullptr;
  ControlUI* lblBurnIsoTitle_ = nullptr;
  ControlUI* lblCurCapacity_ = nullptr;
  ControlUI* lblMaxCapacity_ = nullptr;
  ControlUI* lblLogo_ = nullptr;
  ControlUI* toolBar1_ = nullptr;
  ControlUI* toolBar2_ = nullptr;
  ControlUI* toolBar3_ = nullptr;
  ComboUI* comboDevice_ = nullptr;
  ComboUI* comboMediaType_ = nullptr;
  ProgressUI* isoCapacity_ = nullptr;
  ControlUI* pageShare_ = nullptr;
  ControlUI* pageAd_ = nullptr;

  std::int32_t pageMode_ = PageWelcome;
  std::int32_t fileSystemChoice_ = 0;

  // The collection of the Creator and Burner page and the capacity it is measured against.
  std::uint64_t collectedBytes_ = 0;
  static constexpr std::uint64_t kCreatorMaxBytes = 5368709120ULL;  // 5 GiB
  std::vector<std::uint64_t> mediaCapacities_;

  std::map<std::string, std::vector<std::string>> shareLinks_;
  std::function<std::int64_t()> secondsClock_;
};

}  // namespace forge::ui
