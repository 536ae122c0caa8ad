#include "zip_writer.h"

#include <zlib.h>

namespace forge::skin {

ZipWriter::ZipWriter(const QString& path) {
  file_ = zipOpen64(path.toLocal8Bit().constData(), APPEND_STATUS_CREATE);
}

ZipWriter::~ZipWriter() {
  if (file_) zipClose(file_, nullptr);
}

bool ZipWriter::Add(const QString& name, const QByteArray& bytes, bool deflate) {
  if (!file_) return false;
  zip_fileinfo info{};
  info.tmz_date.tm_year = 2014;
  info.tmz_date.tm_mon = 0;
  info.tmz_date.tm_mday = 1;
  const QByteArray entry = name.toUtf8();
  int status =
      zipOpenNewFileInZip64(file_, entry.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                            deflate ? Z_DEFLATED : 0, deflate ? Z_BEST_COMPRESSION : 0, 0);
  if (status == ZIP_OK) {
    status = zipWriteInFileInZip(file_, bytes.constData(), static_cast<unsigned>(bytes.size()));
  }
  if (zipCloseFileInZip(file_) != ZIP_OK) status = ZIP_ERRNO;
  if (status != ZIP_OK) ok_ = false;
  return status == ZIP_OK;
}

bool ZipWriter::Finish() {
  if (!file_) return false;
  const bool closed = zipClose(file_, nullptr) == ZIP_OK;
  file_ = nullptr;
  return closed && ok_;
}

}  // namespace forge::skin
