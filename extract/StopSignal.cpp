#include "extract/StopSignal.h"

namespace gleaner {

void StopSignal::request() {
  {
    std::lock_guard lock(mutex_);
    requested_ = true;
  }
  woken_.notify_all();
}

bool StopSignal::sleepFor(std::chrono::milliseconds duration) const {
  std::unique_lock lock(mutex_);
  return !woken_.wait_for(lock, duration, [this] { return requested_.load(); });
}

}  // namespace gleaner
