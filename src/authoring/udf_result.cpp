// UDF 1.02 images from our own writer. The whole layout is computed first (every block
// number, every size); the bytes are then produced strictly in order as the stream is read:
// descriptors and folders are rendered on the fly, file data is read from the source files one
// at a time. No file data is kept in memory.
//
// Placement (2048-byte sectors): 16-18 volume recognition, 32-37 main and 48-53 reserve volume
// descriptors, 64-65 integrity sequence, 256 anchor, partition from 257 (block 0 file set
// descriptor, 1 its terminator, then every folder's entry and data, every file's entry, every
// file's data), zero padding to a multiple of 16 sectors, and a second anchor in the last one.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include <unistd.h>

#include "authoring/image_production.h"
#include "authoring/source_file.h"
#include "authoring/udf_format.h"

namespace forge {
namespace {

using namespace udf;

constexpr std::uint32_t kPartitionStart = 257;
constexpr std::uint32_t kMainSequence = 32;
constexpr std::uint32_t kReserveSequence = 48;
constexpr std::uint32_t kSequenceSectors = 16;
constexpr std::uint32_t kIntegritySector = 64;
constexpr std::uint32_t kFirstAnchor = 256;
// Largest extent: 2^30 bytes less one block; larger files take several.
constexpr std::uint64_t kMaxExtentBytes = 0x3FFFF800;
constexpr std::size_t kFileEntryHeader = 176;
constexpr std::size_t kMaxExtentsPerEntry = (kSectorSize - kFileEntryHeader) / 8;
constexpr std::uint32_t kFirstUniqueId = 16;
constexpr std::size_t kMaxIdentifierBytes = 255;

constexpr std::uint8_t kFileTypeFolder = 4;
constexpr std::uint8_t kFileTypeFile = 5;
constexpr std::uint8_t kCharacteristicFolder = 0x02;
constexpr std::uint8_t kCharacteristicParent = 0x08;
// Permissions: read and execute (or only read) for owner, group and others.
constexpr std::uint32_t kReadExecute = 0x14A5;
constexpr std::uint32_t kReadOnly = 0x1084;

std::uint64_t SectorsFor(std::uint64_t bytes) { return (bytes + kSectorSize - 1) / kSectorSize; }

std::size_t IdentifierSize(std::size_t nameBytes) { return (38 + nameBytes + 3) / 4 * 4; }

struct Folder {
  const ImageTree::Node* node = nullptr;
  std::uint32_t parent = 0;
  std::uint32_t firstFolder = 0;  // index of its first sub-folder
  std::uint32_t firstFile = 0;    // index of its first file
  std::uint32_t subFolders = 0;
  std::uint32_t entryBlock = 0;
  std::uint32_t dataBlock = 0;
  std::uint32_t dataBytes = 0;
};

struct File {
  const std::string* source = nullptr;
  SourceInfo info;
  std::uint32_t entryBlock = 0;
  std::uint32_t dataBlock = 0;
};

enum class Part : std::uint8_t { System, FolderEntry, FolderData, FileEntries, FileData };

struct Segment {
  std::uint64_t firstSector = 0;
  std::uint64_t sectors = 0;
  Part part = Part::System;
  std::uint32_t index = 0;
};

class UdfResult final : public ImageResult, public ImageStream {
 public:
  UdfResult(std::shared_ptr<ImageState> state, const ProductionSettings& settings)
      : lease_(std::move(state)), label_(settings.volumeName) {
    ::clock_gettime(CLOCK_REALTIME, &recorded_);
  }

  ResultCode Layout();

  ImageStream& GetImageStream() override { return *this; }
  bool ReadsSourceFile(const FileIdentity& identity) const override {
    return sources_.Contains(identity);
  }
  std::uint64_t Size() const override { return totalSectors_ * kSectorSize; }
  ResultCode Read(std::span<std::byte> buffer) override;

 private:
  ResultCode Fail(ResultCode code, const std::string* source) {
    if (source != nullptr) lease_.State().SetFailedSource(*source);
    failed_ = code;
    reader_.Close();
    return code;
  }

  std::uint32_t FolderUniqueId(std::uint32_t index) const {
    return index == 0 ? 0 : kFirstUniqueId + index - 1;
  }
  std::uint32_t FileUniqueId(std::uint32_t index) const {
    return kFirstUniqueId + static_cast<std::uint32_t>(folders_.size()) - 1 + index;
  }

  ResultCode Produce(const Segment& segment, std::uint64_t offset, std::span<std::byte> out);
  ResultCode ProduceFileData(std::uint32_t index, std::uint64_t offset, std::span<std::byte> out);
  void RenderSector(const Segment& segment, std::uint64_t sector, std::span<std::byte> out) const;
  void RenderSystemSector(std::uint64_t sector, std::span<std::byte> out) const;
  void RenderVolumeDescriptor(std::uint32_t which, std::uint32_t sector,
                              std::span<std::byte> out) const;
  void RenderAnchor(std::uint32_t sector, std::span<std::byte> out) const;
  void RenderIntegrity(std::span<std::byte> out) const;
  void RenderFileSet(std::span<std::byte> out) const;
  void RenderEntry(std::span<std::byte> out, std::uint32_t block, std::uint8_t fileType,
                   std::uint32_t permissions, std::uint16_t links, std::uint64_t length,
                   std::uint32_t dataBlock, const timespec& time, std::uint32_t uniqueId) const;
  void RenderFolderData(std::uint32_t index);

  TreeLease lease_;
  std::string label_;
  timespec recorded_{};
  std::vector<Folder> folders_;
  std::vector<File> files_;
  std::vector<Segment> segments_;
  SourceIdentities sources_;
  std::uint32_t partitionBlocks_ = 0;
  std::uint64_t totalSectors_ = 0;

  // Reading state.
  std::uint64_t position_ = 0;
  std::size_t segment_ = 0;
  ResultCode failed_ = ResultOk;
  std::array<std::byte, kSectorSize> sector_{};
  std::uint64_t renderedSector_ = ~std::uint64_t{0};
  std::vector<std::byte> folderData_;
  std::uint32_t renderedFolder_ = ~std::uint32_t{0};
  SourceReader reader_;
};

ResultCode UdfResult::Layout() {
  // Folders breadth first, each one's sub-folders and files next to each other.
  folders_.push_back(Folder{});
  folders_.back().node = &lease_.Tree().Root();
  for (std::uint32_t i = 0; i < folders_.size(); ++i) {
    folders_[i].firstFolder = static_cast<std::uint32_t>(folders_.size());
    folders_[i].firstFile = static_cast<std::uint32_t>(files_.size());
    std::uint64_t bytes = IdentifierSize(0);  // the parent entry
    for (const auto& [name, child] : folders_[i].node->children) {
      const std::size_t nameBytes = EncodeCs0(name).size();
      if (nameBytes > kMaxIdentifierBytes) {
        return Fail(ResultNameTooLong, child->isFolder ? nullptr : &child->source);
      }
      bytes += IdentifierSize(nameBytes);
      if (child->isFolder) {
        folders_.push_back(Folder{});
        folders_.back().node = child.get();
        folders_.back().parent = i;
        ++folders_[i].subFolders;
      } else {
        File file;
        file.source = &child->source;
        if (const ResultCode code = ExamineSource(child->source, file.info); code != ResultOk) {
          return Fail(code, &child->source);
        }
        if (SectorsFor(file.info.size) > 0 &&
            (file.info.size + kMaxExtentBytes - 1) / kMaxExtentBytes > kMaxExtentsPerEntry) {
          return Fail(ResultImageFault, &child->source);
        }
        sources_.Add(file.info.identity);
        files_.push_back(file);
      }
    }
    if (bytes >= kMaxExtentBytes) return Fail(ResultImageFault, nullptr);
    folders_[i].dataBytes = static_cast<std::uint32_t>(bytes);
  }
  sources_.Seal();
  if (folders_.size() + files_.size() >= 0x7FFFFFFFu - kFirstUniqueId) {
    return Fail(ResultImageFault, nullptr);
  }

  // Blocks inside the partition: 0 file set descriptor, 1 its terminator, then the metadata,
  // then the file data.
  std::uint64_t next = 2;
  segments_.push_back({0, kPartitionStart + 2, Part::System, 0});
  for (std::uint32_t i = 0; i < folders_.size(); ++i) {
    Folder& folder = folders_[i];
    folder.entryBlock = static_cast<std::uint32_t>(next++);
    folder.dataBlock = static_cast<std::uint32_t>(next);
    const std::uint64_t sectors = SectorsFor(folder.dataBytes);
    segments_.push_back({kPartitionStart + folder.entryBlock, 1, Part::FolderEntry, i});
    segments_.push_back({kPartitionStart + folder.dataBlock, sectors, Part::FolderData, i});
    next += sectors;
  }
  if (!files_.empty()) {
    segments_.push_back({kPartitionStart + next, files_.size(), Part::FileEntries, 0});
    for (File& file : files_) file.entryBlock = static_cast<std::uint32_t>(next++);
  }
  for (std::uint32_t i = 0; i < files_.size(); ++i) {
    const std::uint64_t sectors = SectorsFor(files_[i].info.size);
    if (sectors == 0) continue;
    if (next + sectors > 0xFFFFFFFFull - kPartitionStart - 16) {
      return Fail(ResultImageFault, nullptr);  // beyond what 32-bit block numbers reach
    }
    files_[i].dataBlock = static_cast<std::uint32_t>(next);
    segments_.push_back({kPartitionStart + next, sectors, Part::FileData, i});
    next += sectors;
  }
  partitionBlocks_ = static_cast<std::uint32_t>(next);
  totalSectors_ = (kPartitionStart + next + 1 + 15) / 16 * 16;
  const std::uint64_t tail = kPartitionStart + next;
  segments_.push_back({tail, totalSectors_ - tail, Part::System, 0});
  return ResultOk;
}

ResultCode UdfResult::Read(std::span<std::byte> buffer) {
  if (failed_ != ResultOk) return failed_;
  if (buffer.size() > Size() - position_) return ResultInvalidParameter;
  while (!buffer.empty()) {
    const Segment& segment = segments_[segment_];
    const std::uint64_t start = segment.firstSector * kSectorSize;
    const std::uint64_t end = start + segment.sectors * kSectorSize;
    if (position_ >= end) {
      ++segment_;
      continue;
    }
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), end - position_));
    if (const ResultCode code = Produce(segment, position_ - start, buffer.first(n));
        code != ResultOk) {
      return code;
    }
    position_ += n;
    buffer = buffer.subspan(n);
  }
  return ResultOk;
}

ResultCode UdfResult::Produce(const Segment& segment, std::uint64_t offset,
                              std::span<std::byte> out) {
  switch (segment.part) {
    case Part::FileData:
      return ProduceFileData(segment.index, offset, out);
    case Part::FolderData:
      if (renderedFolder_ != segment.index) RenderFolderData(segment.index);
      std::memcpy(out.data(), folderData_.data() + offset, out.size());
      return ResultOk;
    default:
      while (!out.empty()) {
        const std::uint64_t sector = segment.firstSector + offset / kSectorSize;
        if (renderedSector_ != sector) {
          RenderSector(segment, sector, sector_);
          renderedSector_ = sector;
        }
        const std::size_t within = offset % kSectorSize;
        const std::size_t n = std::min(out.size(), kSectorSize - within);
        std::memcpy(out.data(), sector_.data() + within, n);
        out = out.subspan(n);
        offset += n;
      }
      return ResultOk;
  }
}

ResultCode UdfResult::ProduceFileData(std::uint32_t index, std::uint64_t offset,
                                      std::span<std::byte> out) {
  const File& file = files_[index];
  if (offset == 0) {
    if (const ResultCode code = reader_.Open(*file.source, file.info.size); code != ResultOk) {
      return Fail(code, file.source);
    }
  }
  if (offset < file.info.size) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), file.info.size - offset));
    if (const ResultCode code = reader_.Read(out.first(n)); code != ResultOk) {
      return Fail(code, file.source);
    }
    if (reader_.Remaining() == 0) reader_.Close();
    out = out.subspan(n);
  }
  std::fill(out.begin(), out.end(), std::byte{0});  // padding of the last block
  return ResultOk;
}

void UdfResult::RenderSector(const Segment& segment, std::uint64_t sector,
                             std::span<std::byte> out) const {
  std::fill(out.begin(), out.end(), std::byte{0});
  switch (segment.part) {
    case Part::System:
      RenderSystemSector(sector, out);
      break;
    case Part::FolderEntry: {
      const Folder& folder = folders_[segment.index];
      RenderEntry(out, folder.entryBlock, kFileTypeFolder, kReadExecute,
                  static_cast<std::uint16_t>(std::min<std::uint32_t>(1 + folder.subFolders, 0xFFFF)),
                  folder.dataBytes, folder.dataBlock, recorded_, FolderUniqueId(segment.index));
      break;
    }
    case Part::FileEntries: {
      const auto index = static_cast<std::uint32_t>(segment.index + (sector - segment.firstSector));
      const File& file = files_[index];
      RenderEntry(out, file.entryBlock, kFileTypeFile,
                  file.info.executable ? kReadExecute : kReadOnly, 1, file.info.size,
                  file.dataBlock, file.info.modified, FileUniqueId(index));
      break;
    }
    default:
      break;
  }
}

void UdfResult::RenderSystemSector(std::uint64_t sector, std::span<std::byte> out) const {
  const std::uint64_t last = totalSectors_ - 1;
  if (sector >= 16 && sector <= 18) {
    static constexpr const char* kIds[] = {"BEA01", "NSR02", "TEA01"};
    std::memcpy(out.data() + 1, kIds[sector - 16], 5);
    Put8(out, 6, 1);
  } else if (sector >= kMainSequence && sector < kMainSequence + 6) {
    RenderVolumeDescriptor(static_cast<std::uint32_t>(sector - kMainSequence),
                           static_cast<std::uint32_t>(sector), out);
  } else if (sector >= kReserveSequence && sector < kReserveSequence + 6) {
    RenderVolumeDescriptor(static_cast<std::uint32_t>(sector - kReserveSequence),
                           static_cast<std::uint32_t>(sector), out);
  } else if (sector == kIntegritySector) {
    RenderIntegrity(out);
  } else if (sector == kIntegritySector + 1) {
    FinishTag(out.first(512), Tag::Terminating, kIntegritySector + 1);
  } else if (sector == kFirstAnchor || sector == last) {
    RenderAnchor(static_cast<std::uint32_t>(sector), out);
  } else if (sector == kPartitionStart) {
    RenderFileSet(out);
  } else if (sector == kPartitionStart + 1) {
    FinishTag(out.first(512), Tag::Terminating, 1);
  }
}

// The volume descriptor sequence: 0 primary, 1 implementation use, 2 partition, 3 logical
// volume, 4 unallocated space, 5 terminator. The reserve copy differs only in tag locations.
void UdfResult::RenderVolumeDescriptor(std::uint32_t which, std::uint32_t sector,
                                       std::span<std::byte> out) const {
  switch (which) {
    case 0: {
      const auto d = out.first(512);
      Put32(d, 16, which);
      Put32(d, 20, 0);
      PutDstring(d.subspan(24, 32), label_);
      Put16(d, 56, 1);
      Put16(d, 58, 1);
      Put16(d, 60, 2);
      Put16(d, 62, 2);
      Put32(d, 64, 1);
      Put32(d, 68, 1);
      char setId[17];
      std::snprintf(setId, sizeof setId, "%08X%08X", static_cast<unsigned>(recorded_.tv_sec),
                    static_cast<unsigned>(recorded_.tv_nsec ^ (static_cast<unsigned>(::getpid()) << 16)));
      PutDstring(d.subspan(72, 128), setId);
      PutCs0Charspec(d.subspan(200));
      PutCs0Charspec(d.subspan(264));
      PutTimestamp(d.subspan(376, 12), recorded_);
      PutImplementationEntity(d.subspan(388, 32));
      FinishTag(d, Tag::PrimaryVolume, sector);
      break;
    }
    case 1: {
      const auto d = out.first(512);
      Put32(d, 16, which);
      PutLvInfoEntity(d.subspan(20, 32));
      PutCs0Charspec(d.subspan(52));
      PutDstring(d.subspan(116, 128), label_);
      PutImplementationEntity(d.subspan(352, 32));
      FinishTag(d, Tag::ImplementationUseVolume, sector);
      break;
    }
    case 2: {
      const auto d = out.first(512);
      Put32(d, 16, which);
      Put16(d, 20, 1);  // allocated
      Put16(d, 22, 0);  // partition number
      PutEntity(d.subspan(24, 32), "+NSR02", {});
      Put32(d, 184, 1);  // read-only
      Put32(d, 188, kPartitionStart);
      Put32(d, 192, partitionBlocks_);
      PutImplementationEntity(d.subspan(196, 32));
      FinishTag(d, Tag::Partition, sector);
      break;
    }
    case 3: {
      const auto d = out.first(446);
      Put32(d, 16, which);
      PutCs0Charspec(d.subspan(20));
      PutDstring(d.subspan(84, 128), label_);
      Put32(d, 212, kSectorSize);
      PutDomainEntity(d.subspan(216, 32));
      PutLongExtent(d, 248, kSectorSize, 0);  // the file set descriptor
      Put32(d, 264, 6);                       // map table length
      Put32(d, 268, 1);                       // one partition map
      PutImplementationEntity(d.subspan(272, 32));
      Put32(d, 432, 2 * kSectorSize);  // integrity sequence
      Put32(d, 436, kIntegritySector);
      Put8(d, 440, 1);  // type 1 map: volume sequence 1, partition 0
      Put8(d, 441, 6);
      Put16(d, 442, 1);
      Put16(d, 444, 0);
      FinishTag(d, Tag::LogicalVolume, sector);
      break;
    }
    case 4: {
      const auto d = out.first(24);
      Put32(d, 16, which);
      Put32(d, 20, 0);
      FinishTag(d, Tag::UnallocatedSpace, sector);
      break;
    }
    default:
      FinishTag(out.first(512), Tag::Terminating, sector);
      break;
  }
}

void UdfResult::RenderAnchor(std::uint32_t sector, std::span<std::byte> out) const {
  const auto d = out.first(512);
  Put32(d, 16, kSequenceSectors * kSectorSize);
  Put32(d, 20, kMainSequence);
  Put32(d, 24, kSequenceSectors * kSectorSize);
  Put32(d, 28, kReserveSequence);
  FinishTag(d, Tag::AnchorPointer, sector);
}

void UdfResult::RenderIntegrity(std::span<std::byte> out) const {
  const auto d = out.first(134);
  PutTimestamp(d.subspan(16, 12), recorded_);
  Put32(d, 28, 1);  // closed
  Put64(d, 40, FileUniqueId(static_cast<std::uint32_t>(files_.size())));  // next unique id
  Put32(d, 72, 1);   // partitions
  Put32(d, 76, 46);  // implementation use length
  Put32(d, 80, 0);   // free space
  Put32(d, 84, partitionBlocks_);
  PutImplementationEntity(d.subspan(88, 32));
  Put32(d, 120, static_cast<std::uint32_t>(files_.size()));
  Put32(d, 124, static_cast<std::uint32_t>(folders_.size()));
  Put16(d, 128, kRevision);  // minimum read
  Put16(d, 130, kRevision);  // minimum write
  Put16(d, 132, kRevision);  // maximum write
  FinishTag(d, Tag::LogicalVolumeIntegrity, kIntegritySector);
}

void UdfResult::RenderFileSet(std::span<std::byte> out) const {
  const auto d = out.first(512);
  PutTimestamp(d.subspan(16, 12), recorded_);
  Put16(d, 28, 3);
  Put16(d, 30, 3);
  Put32(d, 32, 1);
  Put32(d, 36, 1);
  PutCs0Charspec(d.subspan(48));
  PutDstring(d.subspan(112, 128), label_);
  PutCs0Charspec(d.subspan(240));
  PutDstring(d.subspan(304, 32), label_);
  PutLongExtent(d, 400, kSectorSize, folders_[0].entryBlock, 0);
  PutDomainEntity(d.subspan(416, 32));
  FinishTag(d, Tag::FileSet, 0);
}

void UdfResult::RenderEntry(std::span<std::byte> out, std::uint32_t block, std::uint8_t fileType,
                            std::uint32_t permissions, std::uint16_t links,
                            std::uint64_t length, std::uint32_t dataBlock, const timespec& time,
                            std::uint32_t uniqueId) const {
  Put16(out, 20, 4);  // strategy 4
  Put16(out, 24, 1);  // one entry
  Put8(out, 27, fileType);
  Put16(out, 34, 0);  // short allocation descriptors
  Put32(out, 36, 0xFFFFFFFF);  // owner not recorded
  Put32(out, 40, 0xFFFFFFFF);  // group not recorded
  Put32(out, 44, permissions);
  Put16(out, 48, links);
  Put64(out, 56, length);
  Put64(out, 64, SectorsFor(length));
  PutTimestamp(out.subspan(72, 12), time);
  PutTimestamp(out.subspan(84, 12), time);
  PutTimestamp(out.subspan(96, 12), time);
  Put32(out, 108, 1);  // checkpoint
  PutImplementationEntity(out.subspan(128, 32));
  Put64(out, 160, uniqueId);
  std::size_t extents = 0;
  std::uint64_t left = length;
  std::uint32_t at = dataBlock;
  while (left > 0) {
    const std::uint64_t piece = std::min(left, kMaxExtentBytes);
    PutShortExtent(out, kFileEntryHeader + 8 * extents, static_cast<std::uint32_t>(piece), at);
    at += static_cast<std::uint32_t>(piece / kSectorSize);
    left -= piece;
    ++extents;
  }
  Put32(out, 168, 0);
  Put32(out, 172, static_cast<std::uint32_t>(8 * extents));
  FinishTag(out.first(kFileEntryHeader + 8 * extents), Tag::FileEntry, block);
}

void UdfResult::RenderFolderData(std::uint32_t index) {
  const Folder& folder = folders_[index];
  folderData_.assign(SectorsFor(folder.dataBytes) * kSectorSize, std::byte{0});
  const std::span<std::byte> data(folderData_);
  std::size_t offset = 0;
  const auto add = [&](std::uint8_t characteristics, std::string_view encodedName,
                       std::uint32_t entryBlock, std::uint32_t uniqueId) {
    const std::size_t size = IdentifierSize(encodedName.size());
    const auto fid = data.subspan(offset, size);
    Put16(fid, 16, 1);  // file version
    Put8(fid, 18, characteristics);
    Put8(fid, 19, static_cast<std::uint8_t>(encodedName.size()));
    PutLongExtent(fid, 20, kSectorSize, entryBlock, uniqueId);
    Put16(fid, 36, 0);
    std::copy(encodedName.begin(), encodedName.end(), reinterpret_cast<char*>(fid.data() + 38));
    FinishTag(fid, Tag::FileIdentifier,
              folder.dataBlock + static_cast<std::uint32_t>(offset / kSectorSize));
    offset += size;
  };
  const Folder& parent = folders_[folder.parent];
  add(kCharacteristicFolder | kCharacteristicParent, {}, parent.entryBlock,
      FolderUniqueId(folder.parent));
  std::uint32_t nextFolder = folder.firstFolder;
  std::uint32_t nextFile = folder.firstFile;
  for (const auto& [name, child] : folder.node->children) {
    const std::string encoded = EncodeCs0(name);
    if (child->isFolder) {
      add(kCharacteristicFolder, encoded, folders_[nextFolder].entryBlock,
          FolderUniqueId(nextFolder));
      ++nextFolder;
    } else {
      add(0, encoded, files_[nextFile].entryBlock, FileUniqueId(nextFile));
      ++nextFile;
    }
  }
  renderedFolder_ = index;
}

}  // namespace

ResultCode CreateUdfResult(std::shared_ptr<ImageState> state, const ProductionSettings& settings,
                           std::unique_ptr<ImageResult>& result) {
  auto production = std::make_unique<UdfResult>(std::move(state), settings);
  if (const ResultCode code = production->Layout(); code != ResultOk) return code;
  result = std::move(production);
  return ResultOk;
}

}  // namespace forge
