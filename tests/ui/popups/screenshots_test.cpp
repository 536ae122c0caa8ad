// Pictures of the popups as users see them (build/screenshots/), and a check that no text of
// their layouts is cut off with the fonts installed here.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "ui/popups/message_box.h"
#include "ui/popups/progress_support.h"
#include "ui/popups/welcome_wnd.h"
#include "ui/support/ui_test_support.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/list.h"

namespace forge::ui {
namespace {

using test::FakeEngine;
using test::ProcessEventsUntil;
using test::ExpectTextsFit;
using test::SaveScreenshot;
using test::TestProgressWnd;

struct BoxShot {
  const char* name;
  const char* layout;
  const char16_t* title;
  const char* message;
  QSize size;
};

TEST(Screenshots, MessageBoxes) {
  const BoxShot shots[] = {
      {"message_box_information",
       "xml\\MessageBox_Information.xml",
       kTitleInformation,
       "Please add files or folders to the list first.",
       {300, 170}},
      {"message_box_warning",
       "xml\\MessageBox_Warning.xml",
       kTitleWarning,
       "The files in the list are bigger than the selected disc can hold.",
       {400, 170}},
      {"message_box_question",
       "xml\\MessageBox_Question.xml",
       kTitleQuestion,
       "Are you sure you want to stop creating the ISO file?",
       {380, 170}},
      {"message_box_error",
       "xml\\MessageBox_Error.xml",
       u"Error",
       "The report folder cannot be written.",
       {300, 170}},
      {"message_box_confirm",
       "xml\\MessageBox_Confirm.xml",
       u"Confirm",
       "Delete all reports?",
       {300, 170}},
      {"message_box_long",
       "xml\\MessageBox_Warning.xml",
       kTitleWarning,
       "The chosen folder lies on a FAT32 volume, which cannot hold files bigger than 4 GB. "
       "Choose a folder on another volume, for example one formatted with ext4 or NTFS, and "
       "try again. This text is longer than the box shows; the user can enlarge the box.",
       {400, 160}},
  };
  for (const BoxShot& shot : shots) {
    CMessageBox box(shot.layout);
    ASSERT_TRUE(box.Create(nullptr, shot.size));
    box.SetTexts(QString::fromUtf16(shot.title), shot.message);
    if (std::string_view(shot.name) != "message_box_long") ExpectTextsFit(box, shot.name);
    SaveScreenshot(box, shot.name);
  }
}

TEST(Screenshots, WelcomeWindow) {
  CWelComeWnd welcome;
  ASSERT_TRUE(welcome.CreatePopup(nullptr, 576, 366));
  ExpectTextsFit(welcome, "welcome");
  SaveScreenshot(welcome, "welcome");
}

struct ProgressShot {
  const char* name;
  ProgressBehaviour (*behaviour)();
  const char* layout;
  QSize size;
  // Texts the real window would show at that moment (control, text).
  std::vector<std::pair<const char*, const char*>> texts;
};

// Each progress window in the middle of its job: the worker runs, held after two reports.
TEST(Screenshots, ProgressWindowsMidJob) {
  const ProgressShot shots[] = {
      {"progress_count_files",
       &ProgressBehaviour::CountFiles,
       "xml\\CountFileProcessWnd.xml",
       {400, 200},
       {{"LblFilePath",
         "/home/anna/Videos/Holiday 2014/Day 3 - the long walk to the lighthouse.mov"}}},
      {"progress_create_iso",
       &ProgressBehaviour::BuildDisc,
       "xml\\BuildDiscProcessWnd.xml",
       {350, 200},
       {}},
      {"progress_burn_iso",
       &ProgressBehaviour::BurnIso,
       "xml\\BurnISOProcessWnd.xml",
       {350, 200},
       {}},
      {"progress_create_image",
       &ProgressBehaviour::CreateImage,
       "xml\\CreateImageProcessWnd.xml",
       {450, 250},
       {{"stage", "Writing image: backup-of-the-whole-system-disk-sda.img"},
        {"time", "Estimated time left: 2 Min 10 Sec"},
        {"sectors", "Writing sector 401408 / 976773168"}}},
      {"progress_extract_iso",
       &ProgressBehaviour::ExtractIso,
       "xml\\ExtractISOProcessWnd.xml",
       {350, 200},
       {}},
  };
  for (const ProgressShot& shot : shots) {
    CProgressWnd::ClassState state;
    FakeEngine engine({18, 42, 100});
    engine.Allow(2);
    TestProgressWnd window(state, shot.behaviour(), shot.layout, engine);
    ASSERT_TRUE(window.CreatePopup(nullptr, shot.size.width(), shot.size.height()));
    QTimer::singleShot(1, [&] {
      ASSERT_TRUE(ProcessEventsUntil([&] { return engine.Reported() == 2; }));
      for (const auto& [control, text] : shot.texts) window.FindControl(control)->SetText(text);
      // Waiting windows: let the dots run a little.
      if (!shot.behaviour().waitingFormat.isEmpty()) {
        ProcessEventsUntil([&] { return window.DotCount() >= 4; });
      }
      QCoreApplication::processEvents();
      ExpectTextsFit(window, shot.name);
      SaveScreenshot(window, shot.name);
      engine.AllowAll();
    });
    window.RunModal();
  }
}

// The main window's layout as shipped, with lists standing in for the two controls the main
// window supplies itself; a picture for whoever builds on it.
class MainLayoutWindow : public test::LayoutWindow {
 public:
  MainLayoutWindow() : LayoutWindow(QStringLiteral("xml\\skin.xml")) {}

 protected:
  ControlUI* CreateControl(const QString& name) override {
    if (name == u"FileTree" || name == u"DiskList") return new ListUI();
    return nullptr;
  }
};

TEST(Screenshots, MainWindowLayout) {
  MainLayoutWindow window;
  ASSERT_TRUE(window.Create(nullptr));
  EXPECT_EQ(window.size(), QSize(1000, 650));
  ExpectTextsFit(window, "main window");
  SaveScreenshot(window, "main_layout_welcome");
  auto* files = window.FindControl<ListUI>("FileList");
  ASSERT_NE(files, nullptr);
  for (const char* name : {"Holiday 2014", "thesis-final.pdf", "music"}) {
    auto row = std::make_unique<ListRow>();
    row->SetText(0, name);
    row->SetText(1, "/home/anna/");
    row->SetText(2, "1.2 GB");
    row->SetText(3, "Folder");
    row->SetText(4, "2014-06-01 12:00:00");
    files->AddRow(std::move(row));
  }
  files->SelectRow(1, false);
  window.FindControl<OptionUI>("OptCreator")->Selected(true, false);
  window.FindControl<TabLayoutUI>("TabPage")->SelectItem(3);
  SaveScreenshot(window, "main_layout_creator");
}

}  // namespace
}  // namespace forge::ui
