// A disk image attached as a loop device with its partitions, for tests on real block devices.
#pragma once

#include <filesystem>
#include <string>

namespace forge::test {

// Attaches an image file with losetup and adds its partitions with partx. Detaches everything
// it attached when it goes, whatever happened in between.
class LoopDisk {
 public:
  explicit LoopDisk(const std::filesystem::path& image);
  ~LoopDisk();
  LoopDisk(const LoopDisk&) = delete;
  LoopDisk& operator=(const LoopDisk&) = delete;

  // "/dev/loopN"; empty when attaching failed.
  const std::string& device() const { return device_; }
  // "/dev/loopNpK"
  std::string Partition(int number) const { return device_ + "p" + std::to_string(number); }
  // Why attaching failed, for the skip message.
  const std::string& problem() const { return problem_; }

 private:
  std::string device_;
  std::string problem_;
};

// Why loop-device tests cannot run here (not root, a tool missing); empty when they can.
std::string LoopDiskObstacle();

}  // namespace forge::test
