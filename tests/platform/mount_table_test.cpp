#include "platform/mount_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>

namespace forge {
namespace {

// Lines as the kernel writes them: optional fields before "-", octal escapes in paths.
constexpr std::string_view kMountInfo =
    "22 1 252:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n"
    "95 22 11:0 / /media/user/My\\040Disc ro,nosuid shared:50 master:2 - iso9660 /dev/sr0 ro\n"
    "96 22 11:0 / /mnt/back\\134slash ro - udf /dev/sr0 ro\n"
    "97 22 0:45 / /tmp rw - tmpfs tmpfs rw\n"
    "garbage line\n"
    "98 22 11:1 / /mnt/short rw\n";  // no separator: not a mount line

TEST(MountTable, ParsesTheKernelsLines) {
  const auto table = ParseMountInfo(kMountInfo);
  ASSERT_EQ(table.size(), 4u);
  EXPECT_EQ(table[1].major, 11u);
  EXPECT_EQ(table[1].minor, 0u);
  EXPECT_EQ(table[1].mountPoint, "/media/user/My Disc");
  EXPECT_EQ(table[1].fileSystem, "iso9660");
  EXPECT_EQ(table[1].source, "/dev/sr0");
  EXPECT_EQ(table[2].mountPoint, "/mnt/back\\slash");
  EXPECT_EQ(table[3].source, "tmpfs");
}

TEST(MountTable, MountPointsOfADevice) {
  const auto table = ParseMountInfo(kMountInfo);
  EXPECT_EQ(MountPointsOfDevice(table, makedev(11, 0)),
            (std::vector<std::string>{"/media/user/My Disc", "/mnt/back\\slash"}));
  EXPECT_TRUE(MountPointsOfDevice(table, makedev(11, 1)).empty());

  // The live table has the root file system in it.
  struct stat root {};
  ASSERT_EQ(::stat("/", &root), 0);
  const auto points = MountPointsOfDevice(ReadMountTable(), root.st_dev);
  EXPECT_NE(std::ranges::find(points, "/"), points.end());
}

}  // namespace
}  // namespace forge
