// Running work on the UI thread from any thread.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <utility>

namespace forge::ui {

// Runs `task` on the thread of `context` (the UI thread for widgets): at once when called on
// that thread, otherwise queued behind the events already posted there. A queued task is
// dropped when `context` is destroyed before it runs; the caller must keep `context` alive
// while it makes the call.
template <class Task>
void RunOnUiThread(QObject* context, Task&& task) {
  if (QThread::currentThread() == context->thread()) {
    std::forward<Task>(task)();
    return;
  }
  QMetaObject::invokeMethod(context, std::forward<Task>(task), Qt::QueuedConnection);
}

}  // namespace forge::ui
