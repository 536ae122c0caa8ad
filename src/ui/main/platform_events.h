// Events of the platform layer delivered to the main window on the UI thread: later starts of
// the program asking for the window, and disks that come and go.
//
// Ownership: each watcher owns its notifier; it does not own the window or the layer object it
// watches, which must outlive it. UI thread only.
#pragma once

#include <QPointer>
#include <memory>

class QSocketNotifier;

namespace forge {
class DeviceMonitor;
class SingleInstance;
}  // namespace forge

namespace forge::ui {

class CMainWnd;

// Listens for later starts once the main window exists; each request shows the window normal
// (restored when minimised, shown when hidden, also while the welcome window is up).
class ShowRequestWatcher {
 public:
  ShowRequestWatcher(SingleInstance& instance, CMainWnd& window);
  ~ShowRequestWatcher();
  bool IsListening() const { return notifier_ != nullptr; }

 private:
  SingleInstance& instance_;
  QPointer<CMainWnd> window_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

// Hands every disk arrival and removal to CMainWnd::OnDeviceChange.
class DeviceChangeWatcher {
 public:
  DeviceChangeWatcher(DeviceMonitor& monitor, CMainWnd& window);
  ~DeviceChangeWatcher();

 private:
  DeviceMonitor& monitor_;
  QPointer<CMainWnd> window_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace forge::ui
