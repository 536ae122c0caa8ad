// The file and folder pickers the pages use: PickFiles opens one or several files or asks for
// a file to save, PickFolders lets the user choose one or several folders. Both run modally
// over the calling window and answer PickConfirmed (the request holds full paths) or
// PickCancelled (cancelled, closed, or nothing usable chosen).
//
// The dialogs themselves sit behind FileDialogs: the program shows Qt's file dialog; tests
// install an answerer of their own. Nothing is remembered between calls.
//
// UI thread only.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace forge::ui {

inline constexpr int PickConfirmed = 1;
inline constexpr int PickCancelled = 2;

enum class PickMode { Open = 0, Save = 1 };

struct FilePickRequest {
  QWidget* owner = nullptr;
  // Opening: the folder the dialog starts in (empty: the dialog's choice). After a confirmed
  // save: the chosen file.
  QString path;
  // After a confirmed open: the chosen files, in the dialog's order.
  std::vector<QString> chosenPaths;
  // A file name the dialog proposes (empty: none).
  QString initialName;
  // Opening: several files may be chosen.
  bool several = false;
};

struct FolderPickRequest {
  QWidget* owner = nullptr;
  // The folder the dialog starts in; afterwards the last folder chosen.
  QString path;
  std::vector<QString> chosenFolders;
};

// `isoFilter`: only "ISO Files (*.iso)"; otherwise all files. Saving always uses the ISO filter,
// adds ".iso" to a name without it and asks before an existing file is replaced.
int PickFiles(PickMode mode, bool isoFilter, FilePickRequest& request);
int PickFolders(FolderPickRequest& request);

// What a file dialog is asked to show.
struct FileDialogOptions {
  PickMode mode = PickMode::Open;
  QWidget* owner = nullptr;
  QString folder;
  QString initialName;
  QStringList nameFilters;  // "ISO Files (*.iso)", "All Files (*)"
  QString defaultSuffix;    // added to a typed name without an extension ("iso")
  bool several = false;
  bool confirmOverwrite = false;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen files as full paths, or nothing when the dialog was cancelled.
  virtual std::optional<QStringList> ChooseFiles(const FileDialogOptions& options) = 0;
  // The chosen folders as full paths (one or several), or nothing when cancelled.
  virtual std::optional<QStringList> ChooseFolders(QWidget* owner, const QString& folder) = 0;
};

// The dialogs the pickers use: Qt's unless a test installed its own.
FileDialogs& GetFileDialogs();
// Not owned; null restores Qt's dialogs.
void SetFileDialogs(FileDialogs* dialogs);

}  // namespace forge::ui
