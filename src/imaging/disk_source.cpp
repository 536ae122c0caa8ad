#include "imaging/disk_source.h"

namespace forge {

DiskGeometry GeometryFromLength(std::uint64_t lengthBytes, std::uint32_t bytesPerSector,
                                std::uint32_t tracksPerCylinder, std::uint32_t sectorsPerTrack) {
  DiskGeometry geometry;
  geometry.bytesPerSector = bytesPerSector > 0 ? bytesPerSector : 512;
  geometry.tracksPerCylinder =
      tracksPerCylinder > 0 ? tracksPerCylinder : kDefaultTracksPerCylinder;
  geometry.sectorsPerTrack = sectorsPerTrack > 0 ? sectorsPerTrack : kDefaultSectorsPerTrack;
  geometry.cylinders = lengthBytes / geometry.bytesPerSector / geometry.SectorsPerCylinder();
  return geometry;
}

}  // namespace forge
