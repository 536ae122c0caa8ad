#include "ui/popups/pickers.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace forge::ui {
namespace {

const QString kIsoFilter = QStringLiteral("ISO Files (*.iso)");
const QString kAllFilter = QStringLiteral("All Files (*)");

// Qt's own file dialog, the same on every desktop. The desktop's dialog is not used: it asks
// about replacing a file before ".iso" is added to the typed name, and it cannot choose
// several folders.
class QtFileDialogs final : public FileDialogs {
 public:
  std::optional<QStringList> ChooseFiles(const FileDialogOptions& options) override {
    QFileDialog dialog(options.owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(options.nameFilters);
    if (!options.folder.isEmpty()) dialog.setDirectory(options.folder);
    if (!options.initialName.isEmpty()) dialog.selectFile(options.initialName);
    if (options.mode == PickMode::Save) {
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
      dialog.setDefaultSuffix(options.defaultSuffix);
      dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    } else {
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(options.several ? QFileDialog::ExistingFiles
                                         : QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFiles();
  }

  std::optional<QStringList> ChooseFolders(QWidget* owner, const QString& folder) override {
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    // The dialog's views choose one folder; with extended selection they choose several, and
    // the dialog hands all of them back.
    for (auto* view : dialog.findChildren<QAbstractItemView*>()) {
      view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFiles();
  }
};

FileDialogs*& Override() {
  static FileDialogs* dialogs = nullptr;
  return dialogs;
}

QString FullPath(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

}  // namespace

FileDialogs& GetFileDialogs() {
  if (FileDialogs* dialogs = Override()) return *dialogs;
  static QtFileDialogs qt;
  return qt;
}

void SetFileDialogs(FileDialogs* dialogs) { Override() = dialogs; }

int PickFiles(PickMode mode, bool isoFilter, FilePickRequest& request) {
  FileDialogOptions options;
  options.mode = mode;
  options.owner = request.owner;
  options.folder = request.path;
  options.initialName = request.initialName;
  if (mode == PickMode::Save) {
    options.nameFilters = {kIsoFilter};
    options.defaultSuffix = QStringLiteral("iso");
    options.confirmOverwrite = true;
  } else {
    options.nameFilters = {isoFilter ? kIsoFilter : kAllFilter};
    options.several = request.several;
  }
  const auto chosen = GetFileDialogs().ChooseFiles(options);
  if (!chosen || chosen->isEmpty() || chosen->front().isEmpty()) return PickCancelled;
  if (mode == PickMode::Save) {
    request.path = FullPath(chosen->front());
    return PickConfirmed;
  }
  for (const QString& path : *chosen) {
    if (!path.isEmpty()) request.chosenPaths.push_back(FullPath(path));
  }
  return PickConfirmed;
}

int PickFolders(FolderPickRequest& request) {
  const auto chosen = GetFileDialogs().ChooseFolders(request.owner, request.path);
  if (!chosen) return PickCancelled;
  for (const QString& folder : *chosen) {
    if (folder.isEmpty()) continue;
    request.path = FullPath(folder);
    request.chosenFolders.push_back(request.path);
  }
  // Confirming without a folder is no answer: a caller taking the (empty) path would write
  // into whatever folder the program happens to run in.
  return request.chosenFolders.empty() ? PickCancelled : PickConfirmed;
}

}  // namespace forge::ui
