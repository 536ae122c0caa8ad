#include "loop_disk.h"

#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/run_program.h"

namespace forge::test {
namespace {

std::string LastLine(const std::string& text) {
  auto end = text.find_last_not_of("\n ");
  if (end == std::string::npos) return {};
  const auto start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1,
                     end - (start == std::string::npos ? 0 : start + 1) + 1);
}

}  // namespace

std::string LoopDiskObstacle() {
  if (::geteuid() != 0) return "attaching loop devices needs root";
  for (const char* tool : {"losetup", "partx", "mkfs.vfat", "mkfs.ext4", "dd"}) {
    if (!HaveProgram(tool)) return std::string(tool) + " is not installed";
  }
  return {};
}

LoopDisk::LoopDisk(const std::filesystem::path& image) {
  // Another process may take the free device losetup found before it is ours; try again then.
  ProgramRun attach;
  std::string device;
  for (int attempt = 0; attempt < 5; ++attempt) {
    attach = RunProgram({"losetup", "--find", "--show", image.string()});
    device = LastLine(attach.output);
    if (attach.status == 0 && device.starts_with("/dev/loop")) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  if (attach.status != 0 || !device.starts_with("/dev/loop")) {
    problem_ = "loop devices are not allowed here: losetup says " + LastLine(attach.output);
    return;
  }
  device_ = device;
  const auto partitions = RunProgram({"partx", "--add", device_});
  if (partitions.status != 0) {
    problem_ = "partx cannot add the partitions: " + LastLine(partitions.output);
    return;
  }
  // The partition nodes appear in /dev shortly after the kernel learns of them.
  for (int wait = 0; wait < 100 && !std::filesystem::exists(Partition(1)); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!std::filesystem::exists(Partition(1))) problem_ = Partition(1) + " did not appear";
}

LoopDisk::~LoopDisk() {
  if (device_.empty()) return;
  RunProgram({"partx", "--delete", device_});
  RunProgram({"losetup", "--detach", device_});
}

}  // namespace forge::test
