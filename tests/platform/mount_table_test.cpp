#include "platform/mount_table.h"

#include <gtest/gtest.h>
#include <sys/sysmacros.h>

namespace forge {
namespace {

TEST(MountTable, ParsesRecordedMountInfo) {
  // Lines as the kernel writes them; the second has optional fields and an escaped space.
  const auto entries = ParseMountInfo(
      "22 27 0:21 / /sys rw,relatime - sysfs sysfs rw\n"
      "36 35 8:17 / /media/usb\\040stick rw,noatime master:1 shared:2 - vfat /dev/sdb1 rw\n"
      "not a mount line\n"
      "40 35 259:3 /sub /mnt/tab\\011and\\134slash rw - ext4 /dev/nvme0n1p3 rw");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].device, makedev(0, 21));
  EXPECT_EQ(entries[0].fsType, "sysfs");
  EXPECT_EQ(entries[1].device, makedev(8, 17));
  EXPECT_EQ(entries[1].mountPoint, "/media/usb stick");
  EXPECT_EQ(entries[1].fsType, "vfat");
  EXPECT_EQ(entries[1].source, "/dev/sdb1");
  EXPECT_EQ(entries[2].device, makedev(259, 3));
  EXPECT_EQ(entries[2].mountPoint, "/mnt/tab\tand\\slash");
}

}  // namespace
}  // namespace forge
