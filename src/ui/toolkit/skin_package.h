// The skin package: the layouts and images every window is built from, read by entry name.
//
// The program's package is the ZIP archive made from the Skins/ folder at build time and compiled
// into the program (BuiltInSkinPackage). Names are relative to the archive's top ("xml/skin.xml",
// "MessageBox/question.png"); "\" and "/" are alike in them, so "xml\skin.xml" finds the same
// entry. Windows read from the process-wide active package, which tests may replace.
//
// Threading: a package may be read from any thread; its reads and its image cache lock
// themselves. The active-package setting itself belongs to the UI thread.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

namespace forge::ui {

class SkinPackage {
 public:
  virtual ~SkinPackage() = default;

  // The bytes of an entry, or nothing when the package has no entry of that name.
  std::optional<QByteArray> Read(const QString& name) const;

  // The decoded image of an entry, or a null image when it is missing or not an image. With
  // `scale` 2 an entry "name@2x.png" is preferred where the package has one; its device pixel
  // ratio is then 2, so its logical size equals that of the plain image. Images are cached.
  QImage Image(const QString& name, int scale = 1) const;

  // "xml\\skin.xml" -> "xml/skin.xml": separators unified, a leading separator dropped.
  static QString NormaliseName(const QString& name);

 protected:
  // `normalisedName` has gone through NormaliseName.
  virtual std::optional<QByteArray> ReadEntry(const QString& normalisedName) const = 0;

 private:
  mutable std::mutex imageLock_;
  mutable std::map<std::pair<QString, int>, QImage> images_;
};

// A package read from the bytes of a ZIP archive (entries stored or deflated, no encryption).
class ZipSkinPackage : public SkinPackage {
 public:
  // Nothing, with the reason in `error`, when the bytes are no readable ZIP archive. The
  // package keeps its own copy of the bytes.
  static std::unique_ptr<ZipSkinPackage> Open(QByteArray archive, QString* error = nullptr);
  ~ZipSkinPackage() override;

  // The normalised names of all file entries.
  std::vector<QString> EntryNames() const;

 protected:
  std::optional<QByteArray> ReadEntry(const QString& normalisedName) const override;

 private:
  struct Archive;
  explicit ZipSkinPackage(std::unique_ptr<Archive> archive);
  std::unique_ptr<Archive> archive_;
};

// A package of entries added in code, which falls back to another package for every name it
// lacks. Tests use it to try layouts of their own beside the program's images.
class MemorySkinPackage : public SkinPackage {
 public:
  explicit MemorySkinPackage(std::shared_ptr<const SkinPackage> fallback = nullptr);
  void Add(const QString& name, QByteArray bytes);

 protected:
  std::optional<QByteArray> ReadEntry(const QString& normalisedName) const override;

 private:
  std::shared_ptr<const SkinPackage> fallback_;
  mutable std::mutex lock_;
  std::map<QString, QByteArray> entries_;
};

// The archive compiled into the program.
std::span<const unsigned char> EmbeddedSkinArchive();

// The package opened from the compiled-in archive; opened on first use. Null when the archive
// cannot be read (a broken build); windows then fail to load their layouts.
std::shared_ptr<const SkinPackage> BuiltInSkinPackage();

// The package windows read from: the built-in one unless SetActiveSkinPackage chose another.
std::shared_ptr<const SkinPackage> ActiveSkinPackage();
// Null restores the built-in package.
void SetActiveSkinPackage(std::shared_ptr<const SkinPackage> package);

}  // namespace forge::ui
