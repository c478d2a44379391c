#include "app/UiDispatcher.h"

#include <wx/app.h>
#include <wx/thread.h>

#include <condition_variable>
#include <mutex>

namespace gleaner {

struct UiDispatcher::Shared {
  std::mutex mutex;
  std::condition_variable finished;
  bool closed = false;  // written on the UI thread, under mutex
};

namespace {

struct PendingCall {
  std::function<void()> task;
  bool done = false;  // under Shared::mutex
  bool ran = false;
};

}  // namespace

UiDispatcher::UiDispatcher() : shared_(std::make_shared<Shared>()) {}

bool UiDispatcher::call(std::function<void()> task) {
  if (wxThread::IsMain()) {
    if (isClosed()) return false;
    task();
    return true;
  }
  auto pending = std::make_shared<PendingCall>();
  pending->task = std::move(task);
  std::unique_lock lock(shared_->mutex);
  if (shared_->closed || wxTheApp == nullptr) return false;
  // The queued lambda owns what it touches: a caller released by close()
  // may be gone by the time the event loop reaches it.
  wxTheApp->CallAfter([shared = shared_, pending] {
    bool run;
    {
      std::lock_guard guard(shared->mutex);
      run = !shared->closed;
    }
    // close() happens on this thread too, so it cannot come between the
    // check and the task.
    if (run) pending->task();
    std::lock_guard guard(shared->mutex);
    pending->ran = run;
    pending->done = true;
    shared->finished.notify_all();
  });
  shared_->finished.wait(lock, [&] { return pending->done || shared_->closed; });
  return pending->done && pending->ran;
}

void UiDispatcher::close() {
  std::lock_guard lock(shared_->mutex);
  shared_->closed = true;
  shared_->finished.notify_all();
}

bool UiDispatcher::isClosed() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->closed;
}

}  // namespace gleaner
