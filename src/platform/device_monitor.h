// Disks and partitions that come and go: the device events of the block subsystem, read from
// the kernel's device manager through libudev.
//
// Ownership: the monitor owns its udev handles and its descriptor. Threading: one thread uses a
// monitor; its descriptor may be watched by that thread's event loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace forge {

enum class DeviceChangeKind { Arrival, Removal };

struct DeviceChange {
  DeviceChangeKind kind = DeviceChangeKind::Arrival;
  std::string name;  // the kernel's name of the device: "sdb", "sdb1", "loop0p2"
};

class DeviceMonitor {
 public:
  // Starts listening for block devices being added and removed. Events come from the device
  // manager once it has set a device up; where no device manager runs (a container, an early
  // boot), straight from the kernel. Null, with the reason in `error`, when neither can be
  // listened to.
  static std::unique_ptr<DeviceMonitor> Open(std::string& error);
  ~DeviceMonitor();
  DeviceMonitor(const DeviceMonitor&) = delete;
  DeviceMonitor& operator=(const DeviceMonitor&) = delete;

  // Readable when events wait.
  int Fd() const;

  // The waiting additions and removals, in the order they happened, without blocking. Other
  // events (a changed partition table, a medium) are read and dropped.
  std::vector<DeviceChange> ReadChanges();

 private:
  struct Handles;
  explicit DeviceMonitor(std::unique_ptr<Handles> handles);
  std::unique_ptr<Handles> handles_;
};

}  // namespace forge
