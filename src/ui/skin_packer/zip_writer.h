// Writes a ZIP archive whose bytes depend only on its entries (fixed dates, given order).
#pragma once

#include <minizip/zip.h>

#include <QByteArray>
#include <QString>

namespace forge::skin {

class ZipWriter {
 public:
  // Creates or replaces the archive at `path`; Ok() tells whether that worked.
  explicit ZipWriter(const QString& path);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  bool Ok() const { return file_ != nullptr && ok_; }
  // Adds an entry, deflated or stored as it is (for data that is compressed already).
  bool Add(const QString& name, const QByteArray& bytes, bool deflate);
  // Finishes the archive; false when anything failed.
  bool Finish();

 private:
  zipFile file_ = nullptr;
  bool ok_ = true;
};

}  // namespace forge::skin
