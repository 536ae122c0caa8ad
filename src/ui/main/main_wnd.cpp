#include "ui/main/main_wnd.h"

#include <QKeyEvent>
#include <QUrl>
#include <chrono>
#include <climits>
#include <random>

#include "app/formatting.h"
#include "app/language_table.h"
#include "platform/shell_open.h"
#include "ui/main/share_links.h"
#include "ui/popups/help_pages.h"
#include "ui/popups/message_box.h"
#include "ui/popups/popup_wnd.h"
#include "ui/popups/welcome_wnd.h"
#include "ui/popups/window_texts.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/combo.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/progress.h"
#include "ui/toolkit/quit.h"

namespace forge::ui {

namespace {

bool IsType(const Notification& notification, const char16_t* type) {
  return notification.type == QString::fromUtf16(type);
}

// A handler of one notification type for a control; other types pass by.
template <class Handler>
void AttachHandler(ControlUI* control, const char16_t* type, Handler handler) {
  if (!control) return;
  const QString wanted = QString::fromUtf16(type);
  control->AddNotifyHandler([wanted, handler](Notification& notification) {
    return notification.type == wanted && handler(notification);
  });
}

}  // namespace

std::uint32_t DrawNumber(std::int64_t seed) {
  std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(seed));
  return static_cast<std::uint32_t>(generator());
}

CMainWnd::CMainWnd(ReportInfo& reports) : reports_(reports) {
  setWindowTitle(QString::fromUtf16(kMainWindowTitle));
  shareLinks_ = MakeShareLinks(QUrl::fromLocalFile(QString::fromStdString(UserGuidePage().string()))
                                   .toString(QUrl::FullyEncoded));
}

CMainWnd::~CMainWnd() = default;

std::int64_t CMainWnd::NowSeconds() const {
  if (secondsClock_) return secondsClock_();
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

ControlUI* CMainWnd::CreateControl(const QString& elementName) {
  // Plain lists stand in for the folder tree and the disk list of the extractor and the byte
  // backup pages until those pages bring their own controls.
  if (elementName == u"FileTree" || elementName == u"DiskList") return new ListUI();
  return nullptr;
}

void CMainWnd::InitWindow() { Bind(); }

void CMainWnd::Bind() {
  tabPage_ = FindControl<TabLayoutUI>(QStringLiteral("TabPage"));
  fileList_ = FindControl<ListUI>(QStringLiteral("FileList"));
  diskList_ = FindControl<ListUI>(QStringLiteral("DiskList"));
  fileTree_ = FindControl(QStringLiteral("FileTree"));
  extractFileList_ = FindControl<ListUI>(QStringLiteral("ExtractFileList"));
  reportList_ = FindControl<ListUI>(QStringLiteral("ReportList"));
  btnAddFile_ = FindControl<ButtonUI>(QStringLiteral("BtnAddFile"));
  btnAddFolder_ = FindControl<ButtonUI>(QStringLiteral("BtnAddFolder"));
  btnLoadIso_ = FindControl<ButtonUI>(QStringLiteral("BtnLoadISO"));
  btnRemoveFile_ = FindControl<ButtonUI>(QStringLiteral("BtnRemoveFile"));
  btnExtractIso_ = FindControl<ButtonUI>(QStringLiteral("BtnExtractISO"));
  btnCreateDiskImg_ = FindControl<ButtonUI>(QStringLiteral("BtnCreateDiskImg"));
  btnCreateFileIso_ = FindControl<ButtonUI>(QStringLiteral("BtnCreateFileISO"));
  btnBurnIso_ = FindControl<ButtonUI>(QStringLiteral("BtnBurnISO"));
  btnAdUrl_ = FindControl<ButtonUI>(QStringLiteral("BtnADUrl"));
  lblBuildDiscTitle_ = FindControl(QStringLiteral("LblBuildDiscTitle"));
  lblBurnIsoTitle_ = FindControl(QStringLiteral("LblBurnISOTitle"));
  lblCurCapacity_ = FindControl(QStringLiteral("LblCurCapacity"));
  lblMaxCapacity_ = FindControl(QStringLiteral("LblMaxCapacity"));
  lblLogo_ = FindControl(QStringLiteral("LblLogo"));
  toolBar1_ = FindControl(QStringLiteral("ToolBar1"));
  toolBar2_ = FindControl(QStringLiteral("ToolBar2"));
  toolBar3_ = FindControl(QStringLiteral("ToolBar3"));
  comboDevice_ = FindControl<ComboUI>(QStringLiteral("ComboDevice"));
  comboMediaType_ = FindControl<ComboUI>(QStringLiteral("ComboMediaType"));
  isoCapacity_ = FindControl<ProgressUI>(QStringLiteral("ISOCapacity"));
  pageShare_ = FindControl(QStringLiteral("PageShare"));
  pageAd_ = FindControl(QStringLiteral("PageAD"));

  AttachHandler(FindControl(QStringLiteral("OptReport")), notify::kSelectChanged,
                [this](Notification& n) { return OnShowReportPage(n); });
  AttachHandler(FindControl(QStringLiteral("BtnEmptyReport")), notify::kClick,
                [this](Notification& n) { return OnEmptyReports(n); });
  AttachHandler(FindControl(QStringLiteral("BtnExportReport")), notify::kClick,
                [this](Notification& n) { return OnExportReport(n); });
  AttachHandler(FindControl(QStringLiteral("BtnHelp")), notify::kClick,
                [this](Notification& n) { return OnHelp(n); });
  AttachHandler(btnAdUrl_, notify::kClick, [this](Notification& n) { return OnAdvert(n); });
  const std::pair<const char*, std::pair<const char*, bool>> shareButtons[] = {
      {"BtnGoogle", {"google", false}},
      {"BtnYoutube", {"youtube", false}},
      {"BtnTwitter", {"twitter", true}},
      {"BtnFacebook", {"facebook", true}},
  };
  for (const auto& [button, link] : shareButtons) {
    const std::string service = link.first;
    const bool randomLink = link.second;
    AttachHandler(FindControl(QString::fromUtf8(button)), notify::kClick,
                  [this, service, randomLink](Notification&) {
                    OpenShareLink(service, randomLink);
                    return true;
                  });
  }
}

void CMainWnd::Notify(Notification& notification) {
  if (IsType(notification, notify::kWindowInit)) {
    OnFirstShow();
  } else if (IsType(notification, notify::kSelectChanged)) {
    OnSelectChanged(notification);
  } else if (IsType(notification, notify::kMenu)) {
    if (!notification.sender) return;
    const QString name = notification.sender->Name();
    QString layout;
    if (name == u"FileList") {
      layout = QStringLiteral("Menu_Creater.xml");
    } else if (name == u"ExtractFileList" || name == u"FileTree") {
      layout = QStringLiteral("Menu_Extractor.xml");
    } else {
      return;
    }
    auto* menu = new CMenuWindow(this);
    menu->SetSender(notification.sender);
    menu->Open(layout, mapToGlobal(notification.point));
  } else if (IsType(notification, notify::kListItemDbClick)) {
    OnListItemDbClick(notification);
  } else {
    SkinWindow::Notify(notification);
  }
}

void CMainWnd::OnFirstShow() {
  hide();
  {
    CWelComeWnd welcome;
    RunPopup(welcome, 576, 366);
  }
  ChooseWelcomePanel();
  ShowWindow(true);
  setFocus();
  fileSystemChoice_ = 0;
  messages_ = &LanguageTable::Instance().GetSection("Messages");
  ApplyLanguageTexts(*this, "MainWnd");
  FillReportList();
}

void CMainWnd::ChooseWelcomePanel() {
  const bool advert = DrawNumber(NowSeconds()) % 2 == 0;
  if (advert && btnAdUrl_) btnAdUrl_->SetUserData(QString::fromStdString(UserGuidePage().string()));
  if (pageShare_) pageShare_->SetVisible(!advert);
  if (pageAd_) pageAd_->SetVisible(advert);
  pageMode_ = PageWelcome;
  if (lblLogo_) lblLogo_->SetBkImage(QString::fromUtf16(kLogoWelcome));
  if (tabPage_) tabPage_->SelectItem(TabWelcome);
}

void CMainWnd::OnSelectChanged(Notification& notification) {
  ControlUI* sender = notification.sender;
  if (!sender || sender->GetClass() != u"OptionUI") return;
  const QString name = sender->Name();
  const auto showAll = [](std::initializer_list<ControlUI*> controls, bool visible) {
    for (ControlUI* control : controls) {
      if (control) control->SetVisible(visible);
    }
  };
  if (name == u"OptByteBackup") {
    ShowToolPage(PageByteBackup, TabByteBackup);
  } else if (name == u"OptExtractor") {
    ShowToolPage(PageExtractor, TabExtractor);
  } else if (name == u"OptCreator") {
    ShowToolPage(PageCreator, TabCreatorBurner);
    showAll({lblBuildDiscTitle_, toolBar1_, toolBar3_, btnCreateFileIso_}, true);
    showAll({lblBurnIsoTitle_, toolBar2_, btnBurnIso_}, false);
    RefreshCapacityDisplay();
  } else if (name == u"OptBurner") {
    ShowToolPage(PageBurner, TabCreatorBurner);
    showAll({lblBurnIsoTitle_, toolBar1_, toolBar2_, toolBar3_, btnBurnIso_}, true);
    showAll({lblBuildDiscTitle_, btnCreateFileIso_}, false);
    RefreshCapacityDisplay();
  } else if (name == u"OptISOT1") {
    fileSystemChoice_ = 0;
  } else if (name == u"OptISOT2") {
    fileSystemChoice_ = 1;
  } else if (name == u"OptISOT3") {
    fileSystemChoice_ = 2;
  }
}

void CMainWnd::ShowToolPage(std::int32_t mode, int tab) {
  pageMode_ = mode;
  if (lblLogo_) lblLogo_->SetBkImage(QString::fromUtf16(kLogoTools));
  if (tabPage_) tabPage_->SelectItem(tab);
}

void CMainWnd::RefreshCapacityDisplay() {
  std::uint64_t limit = 0;
  if (pageMode_ == PageCreator) {
    limit = kCreatorMaxBytes;
  } else if (pageMode_ == PageBurner && comboMediaType_) {
    const int index = comboMediaType_->CurSel();
    if (index >= 0 && index < static_cast<int>(mediaCapacities_.size())) {
      limit = mediaCapacities_[static_cast<std::size_t>(index)];
    }
  }
  // Without a limit (no disc type chosen) the bar stays empty; above it, the bar is full and
  // the labels still tell the true total.
  int percent = 0;
  if (limit > 0) {
    const double share = static_cast<double>(collectedBytes_) / static_cast<double>(limit) * 100;
    percent = share >= INT_MAX ? INT_MAX : static_cast<int>(share);
  }
  if (lblCurCapacity_) {
    lblCurCapacity_->SetText(QStringLiteral("Total Size: %1").arg(QString::fromStdString(
        FormatSizeText(static_cast<std::int64_t>(collectedBytes_)))));
  }
  if (lblMaxCapacity_) {
    lblMaxCapacity_->SetText(QStringLiteral("Max Size: %1").arg(
        QString::fromStdString(FormatSizeText(static_cast<std::int64_t>(limit)))));
  }
  if (isoCapacity_) isoCapacity_->SetValue(percent);
}

void CMainWnd::OnListItemDbClick(Notification& notification) {
  ListUI* list = notification.row ? notification.row->Owner() : nullptr;
  if (!list) return;
  if (list->Name() == u"ReportList") {
    GetShellOpener().Open(notification.row->UserData().toStdString());
  }
}

void CMainWnd::OnMenuCommand(MenuCommand command, std::int64_t wParam, std::int64_t lParam) {
  ButtonUI* button = nullptr;
  switch (command) {
    case MenuCommand::AddFiles:
      button = btnAddFile_;
      break;
    case MenuCommand::AddFolder:
      button = btnAddFolder_;
      break;
    case MenuCommand::Remove:
      button = btnRemoveFile_;
      break;
    case MenuCommand::LoadImage:
      button = btnLoadIso_;
      break;
    case MenuCommand::Extract:
      button = btnExtractIso_;
      break;
  }
  if (!button) return;
  // Only the extract command carries parameters on to the click.
  if (command != MenuCommand::Extract) wParam = lParam = 0;
  SendNotify(button, QString::fromUtf16(notify::kClick), wParam, lParam);
}

void CMainWnd::OnDeviceChange(DeviceChangeKind kind) {
  if (!diskList_) return;
  SetTimer(diskList_, kind == DeviceChangeKind::Arrival ? kDiskArrivalTimer : kDiskRemovalTimer,
           kDiskRefreshDelayMs);
}

bool CMainWnd::FilterKey(QKeyEvent&) {
  // Escape and Return go on to the focused control; neither ever closes the window.
  return false;
}

QStringList CMainWnd::CaptionBlockingClasses() const {
  return {QStringLiteral("ButtonUI"), QStringLiteral("OptionUI"), QStringLiteral("TextUI"),
          QStringLiteral("EditUI"), QStringLiteral("CheckBoxUI")};
}

HitArea CMainWnd::HitTest(QPoint clientPoint) const {
  // The size stays that of the layout: no edge resizes the window.
  return CaptionHitTest(clientPoint);
}

void CMainWnd::OnFinalMessage() { RequestQuit(0); }

int CMainWnd::ShowMessage(const QString& layoutFile, const QString& title, const std::string& key,
                          int width, int height) {
  if (!messages_) messages_ = &LanguageTable::Instance().GetSection("Messages");
  return ShowMessageBox(this, layoutFile, title, QString::fromStdString(messages_->LookupText(key)),
                        width, height);
}

int CMainWnd::RunPopup(CPopUpWnd& popup, int width, int height) {
  if (!popup.CreatePopup(this, width, height)) return 0;
  return popup.RunModal();
}

}  // namespace forge::ui
