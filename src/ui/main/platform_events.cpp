#include "ui/main/platform_events.h"

#include <QSocketNotifier>

#include "platform/device_monitor.h"
#include "platform/single_instance.h"
#include "ui/main/main_wnd.h"

namespace forge::ui {

ShowRequestWatcher::ShowRequestWatcher(SingleInstance& instance, CMainWnd& window)
    : instance_(instance), window_(&window) {
  const int fd = instance_.Listen();
  if (fd < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    if (instance_.TakeShowRequests() == 0 || !window_) return;
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
  });
}

ShowRequestWatcher::~ShowRequestWatcher() = default;

DeviceChangeWatcher::DeviceChangeWatcher(DeviceMonitor& monitor, CMainWnd& window)
    : monitor_(monitor), window_(&window) {
  notifier_ = std::make_unique<QSocketNotifier>(monitor_.Fd(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    for (const DeviceChange& change : monitor_.ReadChanges()) {
      if (window_) window_->OnDeviceChange(change.kind);
    }
  });
}

DeviceChangeWatcher::~DeviceChangeWatcher() = default;

}  // namespace forge::ui
