// Device events on a real loop device: its partition comes and goes when the partition table is
// read and dropped. Skips with its reason where the machine allows no loop devices or delivers
// no device events (some containers).
#include "platform/device_monitor.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "imaging/loop_disk.h"
#include "support/test_files.h"

namespace forge {
namespace {

namespace fs = std::filesystem;

// An MBR disk of 8 MiB with one partition.
void WriteDiskImage(const fs::path& path) {
  std::string mbr(512, '\0');
  char* entry = mbr.data() + 446;
  entry[4] = 0x83;
  const std::uint32_t start = 2048;
  const std::uint32_t count = 8192;
  for (int b = 0; b < 4; ++b) {
    entry[8 + b] = static_cast<char>((start >> (8 * b)) & 0xFF);
    entry[12 + b] = static_cast<char>((count >> (8 * b)) & 0xFF);
  }
  mbr[510] = 0x55;
  mbr[511] = static_cast<char>(0xAA);
  std::ofstream(path, std::ios::binary).write(mbr.data(), 512);
  fs::resize_file(path, 8 << 20);
}

// Collects changes until one of `kind` for `name` arrived or 10 seconds passed; answers whether
// any event came at all.
bool WaitFor(DeviceMonitor& monitor, DeviceChangeKind kind, const std::string& name,
             bool& found) {
  bool anyEvent = false;
  found = false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!found && std::chrono::steady_clock::now() < until) {
    pollfd wait{monitor.Fd(), POLLIN, 0};
    if (::poll(&wait, 1, 100) <= 0) continue;
    for (const DeviceChange& change : monitor.ReadChanges()) {
      anyEvent = true;
      if (change.kind == kind && change.name == name) found = true;
    }
  }
  return anyEvent || found;
}

TEST(DeviceMonitor, ReportsAPartitionThatComesAndGoes) {
  if (const std::string obstacle = test::LoopDiskObstacle(); !obstacle.empty()) {
    GTEST_SKIP() << obstacle;
  }
  std::string error;
  auto monitor = DeviceMonitor::Open(error);
  ASSERT_NE(monitor, nullptr) << error;
  test::TempFolder folder;
  WriteDiskImage(folder / "disk.img");
  std::string partition;
  {
    test::LoopDisk disk(folder / "disk.img");
    if (!disk.problem().empty()) GTEST_SKIP() << disk.problem();
    partition = fs::path(disk.Partition(1)).filename().string();
    bool arrived = false;
    if (!WaitFor(*monitor, DeviceChangeKind::Arrival, partition, arrived)) {
      GTEST_SKIP() << "the kernel delivers no device events here";
    }
    EXPECT_TRUE(arrived) << partition;
  }
  bool removed = false;
  WaitFor(*monitor, DeviceChangeKind::Removal, partition, removed);
  EXPECT_TRUE(removed) << partition;
}

}  // namespace
}  // namespace forge
