#include "burning/media_types.h"

#include <optional>

namespace forge {
namespace {

struct ClassOfType {
  MediaType type;
  MediaClass mediaClass;
};

constexpr ClassOfType kClassOfType[] = {
    {MediaType::CdRom, MediaClass::Cd},
    {MediaType::CdR, MediaClass::Cd},
    {MediaType::CdRw, MediaClass::Cd},
    {MediaType::DvdRom, MediaClass::Dvd},
    {MediaType::DvdRam, MediaClass::Dvd},
    {MediaType::DvdPlusR, MediaClass::Dvd},
    {MediaType::DvdPlusRw, MediaClass::Dvd},
    {MediaType::DvdPlusRDualLayer, MediaClass::DualLayerDvd},
    {MediaType::DvdDashR, MediaClass::Dvd},
    {MediaType::DvdDashRw, MediaClass::Dvd},
    {MediaType::DvdDashRDualLayer, MediaClass::DualLayerDvd},
    {MediaType::DvdPlusRwDualLayer, MediaClass::DualLayerDvd},
    {MediaType::HdDvdRom, MediaClass::HdDvd},
    {MediaType::HdDvdR, MediaClass::HdDvd},
    {MediaType::HdDvdRam, MediaClass::HdDvd},
    {MediaType::BdRom, MediaClass::BluRay},
    {MediaType::BdR, MediaClass::BluRay},
    {MediaType::BdRe, MediaClass::BluRay},
};

struct ChoiceOfClass {
  MediaClass mediaClass;
  std::uint64_t capacity;
  const char* label;
};

// Fixed sizes, not read from any disc: 700 MiB, and 4.37, 7.95, 13.5 and 23.3 GiB cut to whole
// bytes.
constexpr ChoiceOfClass kChoices[] = {
    {MediaClass::Cd, 734'003'200, "700MB CD Media"},
    {MediaClass::Dvd, 4'692'251'770, "4.7GB DVD Media"},
    {MediaClass::DualLayerDvd, 8'536'247'500, "8.5GB Dual-Layer DVD"},
    {MediaClass::HdDvd, 14'495'514'624, "15GB HD DVD"},
    {MediaClass::BluRay, 25'018'184'499, "25GB Blu-ray DVD"},
};

struct TypeOfProfile {
  int profile;
  MediaType type;
};

// MMC profile numbers (the Profile List feature of GET CONFIGURATION).
constexpr TypeOfProfile kTypeOfProfile[] = {
    {0x01, MediaType::Disk},               // non-removable disk
    {0x02, MediaType::Disk},               // removable disk
    {0x08, MediaType::CdRom},
    {0x09, MediaType::CdR},
    {0x0a, MediaType::CdRw},
    {0x10, MediaType::DvdRom},
    {0x11, MediaType::DvdDashR},           // sequential recording
    {0x12, MediaType::DvdRam},
    {0x13, MediaType::DvdDashRw},          // restricted overwrite
    {0x14, MediaType::DvdDashRw},          // sequential recording
    {0x15, MediaType::DvdDashRDualLayer},  // sequential recording
    {0x16, MediaType::DvdDashRDualLayer},  // layer jump recording
    {0x1a, MediaType::DvdPlusRw},
    {0x1b, MediaType::DvdPlusR},
    {0x2a, MediaType::DvdPlusRwDualLayer},
    {0x2b, MediaType::DvdPlusRDualLayer},
    {0x40, MediaType::BdRom},
    {0x41, MediaType::BdR},                // sequential recording
    {0x42, MediaType::BdR},                // random recording
    {0x43, MediaType::BdRe},
    {0x50, MediaType::HdDvdRom},
    {0x51, MediaType::HdDvdR},
    {0x52, MediaType::HdDvdRam},
};

std::optional<MediaClass> ClassOf(int value) {
  for (const auto& row : kClassOfType) {
    if (static_cast<int>(row.type) == value) return row.mediaClass;
  }
  return std::nullopt;
}

}  // namespace

void ClassifyMediaType(MediaClassFlags& flags, int value) {
  if (const auto mediaClass = ClassOf(value)) flags.Set(*mediaClass);
}

void AppendMediaChoices(const MediaClassFlags& flags, std::vector<MediaChoice>& choices) {
  for (const auto& choice : kChoices) {
    if (flags.Has(choice.mediaClass)) choices.push_back({choice.capacity, choice.label});
  }
}

MediaType MediaTypeOfProfile(int profile) {
  for (const auto& row : kTypeOfProfile) {
    if (row.profile == profile) return row.type;
  }
  return MediaType::Unknown;
}

}  // namespace forge
