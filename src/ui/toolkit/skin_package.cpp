#include "ui/toolkit/skin_package.h"

#include <minizip/unzip.h>
#include <stb_image.h>

#include <algorithm>
#include <cstring>

namespace forge::ui {

namespace {

// A ZIP archive in memory, read through minizip's file functions.
struct MemoryStream {
  const QByteArray* bytes = nullptr;
  ZPOS64_T position = 0;
};

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  auto* stream = new MemoryStream{static_cast<const QByteArray*>(opaque), 0};
  return stream;
}

uLong ZCALLBACK ReadMemory(voidpf, voidpf handle, void* buffer, uLong size) {
  auto* stream = static_cast<MemoryStream*>(handle);
  const auto total = static_cast<ZPOS64_T>(stream->bytes->size());
  if (stream->position >= total) return 0;
  const auto count = std::min<ZPOS64_T>(size, total - stream->position);
  std::memcpy(buffer, stream->bytes->constData() + stream->position, count);
  stream->position += count;
  return static_cast<uLong>(count);
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf handle) {
  return static_cast<MemoryStream*>(handle)->position;
}

long ZCALLBACK SeekMemory(voidpf, voidpf handle, ZPOS64_T offset, int origin) {
  auto* stream = static_cast<MemoryStream*>(handle);
  const auto total = static_cast<ZPOS64_T>(stream->bytes->size());
  ZPOS64_T base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      base = 0;
      break;
    case ZLIB_FILEFUNC_SEEK_CUR:
      base = stream->position;
      break;
    case ZLIB_FILEFUNC_SEEK_END:
      base = total;
      break;
    default:
      return -1;
  }
  if (base + offset > total) return -1;
  stream->position = base + offset;
  return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf handle) {
  delete static_cast<MemoryStream*>(handle);
  return 0;
}

int ZCALLBACK ErrorMemory(voidpf, voidpf) { return 0; }

QImage DecodeImage(const QByteArray& bytes) {
  int width = 0, height = 0, channels = 0;
  stbi_uc* pixels =
      stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.constData()),
                            static_cast<int>(bytes.size()), &width, &height, &channels, 4);
  if (!pixels) return {};
  QImage image(pixels, width, height, width * 4, QImage::Format_RGBA8888);
  QImage owned = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  stbi_image_free(pixels);
  return owned;
}

std::mutex activeLock;
std::shared_ptr<const SkinPackage> activePackage;

}  // namespace

std::optional<QByteArray> SkinPackage::Read(const QString& name) const {
  return ReadEntry(NormaliseName(name));
}

QImage SkinPackage::Image(const QString& name, int scale) const {
  const QString key = NormaliseName(name);
  scale = scale >= 2 ? 2 : 1;
  {
    std::lock_guard lock(imageLock_);
    if (auto found = images_.find({key, scale}); found != images_.end()) return found->second;
  }
  QImage image;
  if (scale == 2) {
    const auto dot = key.lastIndexOf('.');
    const QString doubled = dot > 0 ? key.left(dot) + "@2x" + key.mid(dot) : key + "@2x";
    if (auto bytes = ReadEntry(doubled)) {
      image = DecodeImage(*bytes);
      if (!image.isNull()) image.setDevicePixelRatio(2);
    }
  }
  if (image.isNull()) {
    if (auto bytes = ReadEntry(key)) image = DecodeImage(*bytes);
  }
  std::lock_guard lock(imageLock_);
  images_.emplace(std::pair{key, scale}, image);
  return image;
}

QString SkinPackage::NormaliseName(const QString& name) {
  QString result = name;
  result.replace('\\', '/');
  while (result.startsWith('/')) result.remove(0, 1);
  return result;
}

struct ZipSkinPackage::Archive {
  QByteArray bytes;
  zlib_filefunc64_def functions{};
  unzFile file = nullptr;
  std::map<QString, unz64_file_pos> entries;
  mutable std::mutex lock;  // minizip keeps one current entry per handle
};

std::unique_ptr<ZipSkinPackage> ZipSkinPackage::Open(QByteArray bytes, QString* error) {
  auto archive = std::make_unique<Archive>();
  archive->bytes = std::move(bytes);
  archive->functions = {OpenMemory, ReadMemory,  WriteMemory, TellMemory,
                        SeekMemory, CloseMemory, ErrorMemory, &archive->bytes};
  archive->file = unzOpen2_64("skin", &archive->functions);
  if (!archive->file) {
    if (error) *error = "not a ZIP archive";
    return nullptr;
  }
  for (int status = unzGoToFirstFile(archive->file); status == UNZ_OK;
       status = unzGoToNextFile(archive->file)) {
    unz_file_info64 info{};
    char name[1024];
    if (unzGetCurrentFileInfo64(archive->file, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
      if (error) *error = "unreadable entry list";
      unzClose(archive->file);
      return nullptr;
    }
    const QString entryName = NormaliseName(QString::fromUtf8(name));
    if (entryName.isEmpty() || entryName.endsWith('/')) continue;  // folders
    unz64_file_pos position{};
    unzGetFilePos64(archive->file, &position);
    archive->entries.emplace(entryName, position);
  }
  return std::unique_ptr<ZipSkinPackage>(new ZipSkinPackage(std::move(archive)));
}

ZipSkinPackage::ZipSkinPackage(std::unique_ptr<Archive> archive) : archive_(std::move(archive)) {}

ZipSkinPackage::~ZipSkinPackage() { unzClose(archive_->file); }

std::vector<QString> ZipSkinPackage::EntryNames() const {
  std::vector<QString> names;
  for (const auto& entry : archive_->entries) names.push_back(entry.first);
  return names;
}

std::optional<QByteArray> ZipSkinPackage::ReadEntry(const QString& normalisedName) const {
  const auto found = archive_->entries.find(normalisedName);
  if (found == archive_->entries.end()) return std::nullopt;
  std::lock_guard lock(archive_->lock);
  unz64_file_pos position = found->second;
  if (unzGoToFilePos64(archive_->file, &position) != UNZ_OK) return std::nullopt;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(archive_->file, &info, nullptr, 0, nullptr, 0, nullptr, 0) !=
          UNZ_OK ||
      info.uncompressed_size > 256u * 1024 * 1024) {
    return std::nullopt;
  }
  if (unzOpenCurrentFile(archive_->file) != UNZ_OK) return std::nullopt;
  QByteArray contents(static_cast<qsizetype>(info.uncompressed_size), Qt::Uninitialized);
  qsizetype done = 0;
  bool ok = true;
  while (done < contents.size()) {
    const int count = unzReadCurrentFile(archive_->file, contents.data() + done,
                                         static_cast<unsigned>(contents.size() - done));
    if (count <= 0) {
      ok = false;
      break;
    }
    done += count;
  }
  // Closing checks the CRC of a fully read entry.
  if (unzCloseCurrentFile(archive_->file) != UNZ_OK) ok = false;
  if (!ok) return std::nullopt;
  return contents;
}

MemorySkinPackage::MemorySkinPackage(std::shared_ptr<const SkinPackage> fallback)
    : fallback_(std::move(fallback)) {}

void MemorySkinPackage::Add(const QString& name, QByteArray bytes) {
  std::lock_guard lock(lock_);
  entries_[NormaliseName(name)] = std::move(bytes);
}

std::optional<QByteArray> MemorySkinPackage::ReadEntry(const QString& normalisedName) const {
  {
    std::lock_guard lock(lock_);
    if (auto found = entries_.find(normalisedName); found != entries_.end()) {
      return found->second;
    }
  }
  if (fallback_) return fallback_->Read(normalisedName);
  return std::nullopt;
}

std::shared_ptr<const SkinPackage> BuiltInSkinPackage() {
  static const std::shared_ptr<const SkinPackage> package = [] {
    const auto archive = EmbeddedSkinArchive();
    QByteArray bytes(reinterpret_cast<const char*>(archive.data()),
                     static_cast<qsizetype>(archive.size()));
    return std::shared_ptr<const SkinPackage>(ZipSkinPackage::Open(std::move(bytes)));
  }();
  return package;
}

std::shared_ptr<const SkinPackage> ActiveSkinPackage() {
  std::lock_guard lock(activeLock);
  return activePackage ? activePackage : BuiltInSkinPackage();
}

void SetActiveSkinPackage(std::shared_ptr<const SkinPackage> package) {
  std::lock_guard lock(activeLock);
  activePackage = std::move(package);
}

}  // namespace forge::ui
