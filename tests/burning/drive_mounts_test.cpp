#include "burning/drive_mounts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "support/test_files.h"

namespace forge {
namespace {

TEST(DriveMounts, MountPointsAreFoundByDeviceNotByName) {
  // Any block device node stands in for the drive; no disc needs to be mounted.
  std::string device;
  struct stat node {};
  for (const char* candidate : {"/dev/loop0", "/dev/vda", "/dev/sda", "/dev/nvme0n1"}) {
    if (::stat(candidate, &node) == 0 && S_ISBLK(node.st_mode)) {
      device = candidate;
      break;
    }
  }
  if (device.empty()) GTEST_SKIP() << "no block device node to stand in for a drive";
  const std::string number =
      std::to_string(major(node.st_rdev)) + ":" + std::to_string(minor(node.st_rdev));

  test::TempFolder temp;
  ASSERT_EQ(::symlink(device.c_str(), (temp / "cdrom").c_str()), 0);
  const auto table = temp / "mountinfo";
  test::WriteFile(table,
                  "22 1 254:0 / / rw,relatime shared:1 - ext4 /dev/root rw\n"
                  "40 22 " + number + " / /media/user/My\\040Disc ro,nosuid shared:5 - iso9660 " +
                  device + " ro\n"
                  "41 22 0:30 / /tmp rw - tmpfs tmpfs rw\n"
                  "42 22 " + number + " / /mnt/second ro - udf /dev/whatever ro\n");

  EXPECT_EQ(MountPointsOfDrive(device, table),
            (std::vector<std::string>{"/media/user/My Disc", "/mnt/second"}));
  // The drive asked for by another of its names.
  EXPECT_EQ(MountPointsOfDrive((temp / "cdrom").string(), table).size(), 2u);
  // Not a block device, or no table.
  EXPECT_TRUE(MountPointsOfDrive(table.string(), table).empty());
  EXPECT_TRUE(MountPointsOfDrive(device, temp / "none").empty());
}

}  // namespace
}  // namespace forge
