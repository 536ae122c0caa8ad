// The file and folder pickers: what they ask of the dialogs and hand back, and Qt's dialogs
// behind them driven as a user would (the name typed for saving gets ".iso" and an existing file
// is only replaced after a question; several folders can be chosen).
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "support/test_files.h"
#include "ui/popups/pickers.h"
#include "ui/support/ui_test_support.h"

namespace forge::ui {
namespace {

namespace fs = std::filesystem;
using test::AnsweringDialogs;
using test::ProcessEventsUntil;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

TEST(Pickers, FilesAreAskedForWithTheFilterOfTheUse) {
  struct Case {
    const char* what;
    PickMode mode;
    bool isoFilter;
    bool several;
    QStringList filters;
    QString suffix;
    bool confirmOverwrite;
  };
  const Case cases[] = {
      {"add files", PickMode::Open, false, true, {"All Files (*)"}, {}, false},
      {"load an image", PickMode::Open, true, false, {"ISO Files (*.iso)"}, {}, false},
      {"save an image", PickMode::Save, true, false, {"ISO Files (*.iso)"}, "iso", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AnsweringDialogs dialogs;
    FilePickRequest request;
    request.several = c.several;
    PickFiles(c.mode, c.isoFilter, request);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const FileDialogOptions& asked = dialogs.fileRequests[0];
    EXPECT_EQ(asked.mode, c.mode);
    EXPECT_EQ(asked.nameFilters, c.filters);
    EXPECT_EQ(asked.several, c.several);
    EXPECT_EQ(asked.defaultSuffix, c.suffix);
    EXPECT_EQ(asked.confirmOverwrite, c.confirmOverwrite);
  }
}

TEST(Pickers, AnswersHoldTheChosenPathsInOrderOrNothingWhenCancelled) {
  AnsweringDialogs dialogs;
  FilePickRequest open;
  dialogs.files = QStringList{"/data/b.txt", "/data/a.txt"};
  EXPECT_EQ(PickFiles(PickMode::Open, false, open), PickConfirmed);
  EXPECT_EQ(open.chosenPaths, (std::vector<QString>{"/data/b.txt", "/data/a.txt"}));

  FilePickRequest save;
  dialogs.files = QStringList{"/data/disc.iso"};
  EXPECT_EQ(PickFiles(PickMode::Save, true, save), PickConfirmed);
  EXPECT_EQ(save.path, QStringLiteral("/data/disc.iso"));

  FolderPickRequest folders;
  dialogs.folders = QStringList{"/data/one", "/data/two/"};
  EXPECT_EQ(PickFolders(folders), PickConfirmed);
  EXPECT_EQ(folders.chosenFolders, (std::vector<QString>{"/data/one", "/data/two"}));
  EXPECT_EQ(folders.path, QStringLiteral("/data/two"));

  // A dialog confirmed without a folder chosen is no answer either.
  FolderPickRequest none;
  dialogs.folders = QStringList{};
  EXPECT_EQ(PickFolders(none), PickCancelled);
  EXPECT_TRUE(none.path.isEmpty());

  dialogs.files.reset();
  dialogs.folders.reset();
  FilePickRequest cancelledFile;
  FolderPickRequest cancelledFolder;
  EXPECT_EQ(PickFiles(PickMode::Save, true, cancelledFile), PickCancelled);
  EXPECT_EQ(PickFolders(cancelledFolder), PickCancelled);
  EXPECT_TRUE(cancelledFile.path.isEmpty());
  EXPECT_TRUE(cancelledFolder.chosenFolders.empty());
}

// Runs `action` on the first modal widget of type T that shows (polling, as a user would look).
template <class T>
class WhenShown {
 public:
  explicit WhenShown(std::function<void(T&)> action) : action_(std::move(action)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* widget = dynamic_cast<T*>(QApplication::activeModalWidget());
      if (!widget || !widget->isVisible()) return;
      timer_.stop();
      action_(*widget);
    });
    timer_.start();
  }

 private:
  QTimer timer_;
  std::function<void(T&)> action_;
};

// Selects the named entries in the dialog's list once its folder has been read.
bool SelectInDialog(QFileDialog& dialog, const QStringList& names) {
  auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
  auto* model = dialog.findChild<QFileSystemModel*>();
  if (!view || !model) return false;
  const QModelIndex folder = model->index(dialog.directory().absolutePath());
  if (!ProcessEventsUntil([&] { return model->rowCount(folder) >= names.size(); })) return false;
  view->clearSelection();
  for (const QString& name : names) {
    const QModelIndex index = model->index(dialog.directory().absoluteFilePath(name));
    if (!index.isValid()) return false;
    view->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  return view->selectionModel()->selectedRows().size() == names.size();
}

TEST(QtDialogs, SavingAddsIsoAndReplacesAnExistingFileOnlyAfterAQuestion) {
  forge::test::TempFolder folder;
  forge::test::WriteFile(folder / "disc.iso", "old image");
  struct Case {
    const char* typed;
    const char* expected;
    bool asks;
  };
  for (const Case& c : {Case{"disc", "disc.iso", true}, Case{"fresh", "fresh.iso", false}}) {
    SCOPED_TRACE(c.typed);
    bool asked = false;
    WhenShown<QFileDialog> dialog([&](QFileDialog& shown) {
      // The name as a user types it into the dialog's name box.
      auto* name = shown.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      name->setText(QString::fromUtf8(c.typed));
      // The question comes up inside accept(); it is answered "Yes" from here.
      WhenShown<QMessageBox> question([&](QMessageBox& box) {
        asked = true;
        box.button(QMessageBox::Yes)->click();
      });
      static_cast<QDialog&>(shown).accept();
      if (!shown.isHidden()) shown.reject();
    });
    FilePickRequest request;
    request.path = Q(folder.path());
    ASSERT_EQ(PickFiles(PickMode::Save, true, request), PickConfirmed);
    EXPECT_EQ(request.path, Q(folder / c.expected));
    EXPECT_EQ(asked, c.asks);
  }
}

TEST(QtDialogs, SeveralFoldersOrFilesCanBeChosen) {
  forge::test::TempFolder folder;
  fs::create_directories(folder / "music");
  fs::create_directories(folder / "photos");
  forge::test::WriteFile(folder / "a.txt", "a");
  forge::test::WriteFile(folder / "b.txt", "b");

  bool selected = false;
  WhenShown<QFileDialog> folderDialog([&](QFileDialog& shown) {
    selected = SelectInDialog(shown, {"music", "photos"});
    static_cast<QDialog&>(shown).accept();
  });
  FolderPickRequest folders;
  folders.path = Q(folder.path());
  ASSERT_EQ(PickFolders(folders), PickConfirmed);
  EXPECT_TRUE(selected);
  std::vector<QString> chosen = folders.chosenFolders;
  std::sort(chosen.begin(), chosen.end());
  EXPECT_EQ(chosen, (std::vector<QString>{Q(folder / "music"), Q(folder / "photos")}));
  EXPECT_EQ(folders.path, folders.chosenFolders.back());

  selected = false;
  WhenShown<QFileDialog> fileDialog([&](QFileDialog& shown) {
    selected = SelectInDialog(shown, {"a.txt", "b.txt"});
    static_cast<QDialog&>(shown).accept();
  });
  FilePickRequest files;
  files.path = Q(folder.path());
  files.several = true;
  ASSERT_EQ(PickFiles(PickMode::Open, false, files), PickConfirmed);
  EXPECT_TRUE(selected);
  std::vector<QString> paths = files.chosenPaths;
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<QString>{Q(folder / "a.txt"), Q(folder / "b.txt")}));
}

}  // namespace
}  // namespace forge::ui
