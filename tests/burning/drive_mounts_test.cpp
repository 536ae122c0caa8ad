#include "burning/drive_mounts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_files.h"

namespace forge {
namespace {

TEST(DriveMounts, MountPointsAreFoundByDeviceNotByName) {
  // Any block device node stands in for the drive; no disc needs to be mounted.
  std::string device;
  for (const char* candidate : {"/dev/loop0", "/dev/vda", "/dev/sda", "/dev/nvme0n1"}) {
    struct stat node {};
    if (::stat(candidate, &node) == 0 && S_ISBLK(node.st_mode)) device = candidate;
  }
  if (device.empty()) GTEST_SKIP() << "no block device node to stand in for a drive";

  test::TempFolder temp;
  ASSERT_EQ(::symlink(device.c_str(), (temp / "cdrom").c_str()), 0);
  const auto table = temp / "mounts";
  test::WriteFile(table,
                  "/dev/root / ext4 rw 0 0\n" +
                  device + " /media/user/My\\040Disc iso9660 ro,nosuid 0 0\n" +
                  "tmpfs /tmp tmpfs rw 0 0\n" +
                  (temp / "cdrom").string() + " /mnt/by-link udf ro 0 0\n");

  EXPECT_EQ(MountPointsOfDrive(device, table.string()),
            (std::vector<std::string>{"/media/user/My Disc", "/mnt/by-link"}));
  // The drive asked for by another of its names.
  EXPECT_EQ(MountPointsOfDrive((temp / "cdrom").string(), table.string()).size(), 2u);
  // Not a block device, or no table.
  EXPECT_TRUE(MountPointsOfDrive(table.string(), table.string()).empty());
  EXPECT_TRUE(MountPointsOfDrive(device, (temp / "none").string()).empty());
}

}  // namespace
}  // namespace forge
