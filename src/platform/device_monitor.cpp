#include "platform/device_monitor.h"

#include <libudev.h>
#include <unistd.h>

#include <cstring>

namespace forge {

struct DeviceMonitor::Handles {
  udev* context = nullptr;
  udev_monitor* monitor = nullptr;

  ~Handles() {
    if (monitor) udev_monitor_unref(monitor);
    if (context) udev_unref(context);
  }
};

namespace {

// The device manager announces itself with its control socket; without it, events processed by
// it never come.
bool DeviceManagerRuns() { return ::access("/run/udev/control", F_OK) == 0; }

}  // namespace

std::unique_ptr<DeviceMonitor> DeviceMonitor::Open(std::string& error) {
  auto handles = std::make_unique<Handles>();
  handles->context = udev_new();
  if (!handles->context) {
    error = "the device manager's library cannot be started";
    return nullptr;
  }
  const char* source = DeviceManagerRuns() ? "udev" : "kernel";
  handles->monitor = udev_monitor_new_from_netlink(handles->context, source);
  if (!handles->monitor) {
    error = std::string("device events (") + source + ") cannot be listened to";
    return nullptr;
  }
  if (int result = udev_monitor_filter_add_match_subsystem_devtype(handles->monitor, "block",
                                                                    nullptr);
      result < 0) {
    error = std::string("block device events cannot be chosen: ") + std::strerror(-result);
    return nullptr;
  }
  if (int result = udev_monitor_enable_receiving(handles->monitor); result < 0) {
    error = std::string("device events cannot be received: ") + std::strerror(-result);
    return nullptr;
  }
  return std::unique_ptr<DeviceMonitor>(new DeviceMonitor(std::move(handles)));
}

DeviceMonitor::DeviceMonitor(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

DeviceMonitor::~DeviceMonitor() = default;

int DeviceMonitor::Fd() const { return udev_monitor_get_fd(handles_->monitor); }

std::vector<DeviceChange> DeviceMonitor::ReadChanges() {
  std::vector<DeviceChange> changes;
  // The monitor's socket does not block: receiving answers null once no event waits.
  while (udev_device* device = udev_monitor_receive_device(handles_->monitor)) {
    const char* action = udev_device_get_action(device);
    const char* name = udev_device_get_sysname(device);
    if (action && name) {
      if (std::strcmp(action, "add") == 0) {
        changes.push_back({DeviceChangeKind::Arrival, name});
      } else if (std::strcmp(action, "remove") == 0) {
        changes.push_back({DeviceChangeKind::Removal, name});
      }
    }
    udev_device_unref(device);
  }
  return changes;
}

}  // namespace forge
