#include "authoring/udf_format.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/text_encoding.h"

namespace forge::udf {
namespace {

constexpr std::uint16_t kTagSerial = 1;
constexpr std::uint16_t kTagVersion = 2;  // UDF 1.02 records ECMA-167 2nd edition tags

constexpr std::array<std::uint16_t, 256> MakeCrcTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    std::uint16_t crc = static_cast<std::uint16_t>(i << 8);
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    table[i] = crc;
  }
  return table;
}
constexpr auto kCrcTable = MakeCrcTable();

constexpr char kImplementationName[] = "*Norvessa Image Forge";
constexpr std::uint8_t kOsClassUnix = 4;
constexpr std::uint8_t kOsIdLinux = 5;

}  // namespace

std::uint16_t Crc(std::span<const std::byte> bytes) {
  std::uint16_t crc = 0;
  for (const std::byte b : bytes) {
    crc = static_cast<std::uint16_t>((crc << 8) ^
                                     kCrcTable[((crc >> 8) ^ std::to_integer<unsigned>(b)) & 0xFF]);
  }
  return crc;
}

void Put8(std::span<std::byte> out, std::size_t offset, std::uint8_t value) {
  out[offset] = std::byte{value};
}
void Put16(std::span<std::byte> out, std::size_t offset, std::uint16_t value) {
  for (int i = 0; i < 2; ++i) out[offset + i] = std::byte(value >> (8 * i));
}
void Put32(std::span<std::byte> out, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[offset + i] = std::byte(value >> (8 * i));
}
void Put64(std::span<std::byte> out, std::size_t offset, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out[offset + i] = std::byte(value >> (8 * i));
}

void FinishTag(std::span<std::byte> descriptor, Tag id, std::uint32_t location) {
  Put16(descriptor, 0, static_cast<std::uint16_t>(id));
  Put16(descriptor, 2, kTagVersion);
  Put8(descriptor, 5, 0);
  Put16(descriptor, 6, kTagSerial);
  const auto body = descriptor.subspan(16);
  Put16(descriptor, 8, Crc(body));
  Put16(descriptor, 10, static_cast<std::uint16_t>(body.size()));
  Put32(descriptor, 12, location);
  unsigned sum = 0;
  for (std::size_t i = 0; i < 16; ++i) {
    if (i != 4) sum += std::to_integer<unsigned>(descriptor[i]);
  }
  Put8(descriptor, 4, static_cast<std::uint8_t>(sum));
}

std::string EncodeCs0(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  const bool narrow = std::all_of(units.begin(), units.end(), [](char16_t c) { return c <= 0xFF; });
  std::string out;
  if (narrow) {
    out.reserve(units.size() + 1);
    out.push_back(8);
    for (const char16_t c : units) out.push_back(static_cast<char>(c));
  } else {
    out.reserve(2 * units.size() + 1);
    out.push_back(16);
    for (const char16_t c : units) {
      out.push_back(static_cast<char>(c >> 8));
      out.push_back(static_cast<char>(c & 0xFF));
    }
  }
  return out;
}

void PutDstring(std::span<std::byte> field, std::string_view utf8) {
  std::fill(field.begin(), field.end(), std::byte{0});
  if (utf8.empty()) return;
  std::string encoded = EncodeCs0(utf8);
  const std::size_t room = field.size() - 1;
  if (encoded.size() > room) {
    std::size_t keep = room;
    if (encoded[0] == 16) {
      keep = 1 + (room - 1) / 2 * 2;
      // Do not leave the first half of a surrogate pair at the end.
      const auto last = static_cast<unsigned char>(encoded[keep - 2]);
      if (keep >= 3 && last >= 0xD8 && last <= 0xDB) keep -= 2;
    }
    encoded.resize(keep);
  }
  std::memcpy(field.data(), encoded.data(), encoded.size());
  Put8(field, field.size() - 1, static_cast<std::uint8_t>(encoded.size()));
}

void PutCs0Charspec(std::span<std::byte> field) {
  std::fill(field.begin(), field.begin() + 64, std::byte{0});
  static constexpr char kName[] = "OSTA Compressed Unicode";
  std::memcpy(field.data() + 1, kName, sizeof kName - 1);
}

void PutEntity(std::span<std::byte> field, std::string_view identifier,
               std::span<const std::uint8_t> suffix) {
  std::fill(field.begin(), field.begin() + 32, std::byte{0});
  std::copy_n(identifier.begin(), std::min<std::size_t>(identifier.size(), 23),
              reinterpret_cast<char*>(field.data() + 1));
  std::copy_n(suffix.begin(), std::min<std::size_t>(suffix.size(), 8),
              reinterpret_cast<std::uint8_t*>(field.data() + 24));
}

void PutDomainEntity(std::span<std::byte> field) {
  const std::uint8_t suffix[] = {kRevision & 0xFF, kRevision >> 8, 0};
  PutEntity(field, "*OSTA UDF Compliant", suffix);
}

void PutImplementationEntity(std::span<std::byte> field) {
  const std::uint8_t suffix[] = {kOsClassUnix, kOsIdLinux};
  PutEntity(field, kImplementationName, suffix);
}

void PutLvInfoEntity(std::span<std::byte> field) {
  const std::uint8_t suffix[] = {kRevision & 0xFF, kRevision >> 8, kOsClassUnix, kOsIdLinux};
  PutEntity(field, "*UDF LV Info", suffix);
}

void PutTimestamp(std::span<std::byte> field, const timespec& time) {
  std::tm utc{};
  const time_t seconds = time.tv_sec;
  gmtime_r(&seconds, &utc);
  const long micro = time.tv_nsec / 1000;
  Put16(field, 0, 0x1000);  // type 1 (local time), offset 0: UTC
  Put16(field, 2, static_cast<std::uint16_t>(utc.tm_year + 1900));
  Put8(field, 4, static_cast<std::uint8_t>(utc.tm_mon + 1));
  Put8(field, 5, static_cast<std::uint8_t>(utc.tm_mday));
  Put8(field, 6, static_cast<std::uint8_t>(utc.tm_hour));
  Put8(field, 7, static_cast<std::uint8_t>(utc.tm_min));
  Put8(field, 8, static_cast<std::uint8_t>(std::min(utc.tm_sec, 59)));
  Put8(field, 9, static_cast<std::uint8_t>(micro / 10000));
  Put8(field, 10, static_cast<std::uint8_t>(micro / 100 % 100));
  Put8(field, 11, static_cast<std::uint8_t>(micro % 100));
}

void PutShortExtent(std::span<std::byte> out, std::size_t offset, std::uint32_t length,
                    std::uint32_t block) {
  Put32(out, offset, length);  // type 0 in the top bits: recorded and allocated
  Put32(out, offset + 4, block);
}

void PutLongExtent(std::span<std::byte> out, std::size_t offset, std::uint32_t length,
                   std::uint32_t block, std::uint32_t uniqueId) {
  Put32(out, offset, length);
  Put32(out, offset + 4, block);
  Put16(out, offset + 8, 0);  // partition reference
  Put16(out, offset + 10, 0);  // implementation use: flags
  Put32(out, offset + 12, uniqueId);
}

}  // namespace forge::udf
