// Encoding of UDF 1.02 (ECMA-167) structures: descriptor tags with their CRC and checksum,
// OSTA compressed Unicode, entity identifiers, timestamps and little-endian fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace forge::udf {

inline constexpr std::size_t kSectorSize = 2048;
inline constexpr std::uint16_t kRevision = 0x0102;

// Descriptor tag identifiers.
enum class Tag : std::uint16_t {
  PrimaryVolume = 1,
  AnchorPointer = 2,
  ImplementationUseVolume = 4,
  Partition = 5,
  LogicalVolume = 6,
  UnallocatedSpace = 7,
  Terminating = 8,
  LogicalVolumeIntegrity = 9,
  FileSet = 256,
  FileIdentifier = 257,
  FileEntry = 261,
};

// CRC-ITU (polynomial 0x1021, initial 0, not reflected) as descriptor tags use it.
std::uint16_t Crc(std::span<const std::byte> bytes);

void Put8(std::span<std::byte> out, std::size_t offset, std::uint8_t value);
void Put16(std::span<std::byte> out, std::size_t offset, std::uint16_t value);
void Put32(std::span<std::byte> out, std::size_t offset, std::uint32_t value);
void Put64(std::span<std::byte> out, std::size_t offset, std::uint64_t value);

// Fills the 16-byte tag at the start of `descriptor` (whose length is descriptor.size()):
// identifier, version, serial, CRC over everything after the tag, location, checksum.
void FinishTag(std::span<std::byte> descriptor, Tag id, std::uint32_t location);

// OSTA compressed Unicode (CS0) of a UTF-8 text: 8 bits per character when every character
// is at most U+00FF, otherwise UTF-16 big-endian (characters beyond the BMP as surrogate
// pairs). The first byte is the compression id (8 or 16).
std::string EncodeCs0(std::string_view utf8);

// A dstring field: CS0 text cut to fit whole characters, zero fill, its length in the last byte.
void PutDstring(std::span<std::byte> field, std::string_view utf8);

// The 64-byte character set specification "OSTA Compressed Unicode".
void PutCs0Charspec(std::span<std::byte> field);

// A 32-byte entity identifier with flags 0, the identifier and up to 8 suffix bytes.
void PutEntity(std::span<std::byte> field, std::string_view identifier,
               std::span<const std::uint8_t> suffix);

// The domain "*OSTA UDF Compliant" and the program's implementation identifier.
void PutDomainEntity(std::span<std::byte> field);
void PutImplementationEntity(std::span<std::byte> field);
// "*UDF LV Info" with the UDF identifier suffix.
void PutLvInfoEntity(std::span<std::byte> field);

// A 12-byte timestamp in UTC.
void PutTimestamp(std::span<std::byte> field, const timespec& time);

// short_ad: recorded extent of `length` bytes at partition block `block`.
void PutShortExtent(std::span<std::byte> out, std::size_t offset, std::uint32_t length,
                    std::uint32_t block);
// long_ad in partition 0, with the UDF unique id in its implementation-use bytes.
void PutLongExtent(std::span<std::byte> out, std::size_t offset, std::uint32_t length,
                   std::uint32_t block, std::uint32_t uniqueId = 0);

}  // namespace forge::udf
