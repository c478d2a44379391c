// A stop request that every wait of a run wakes up for at once: the pause
// after a product record, the scan of a page, the worker's next step.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace gleaner {

class StopSignal {
 public:
  StopSignal() = default;
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // Sets the request for good and wakes every sleeper.
  void request();
  bool requested() const { return requested_.load(std::memory_order_relaxed); }
  // The flag itself, for what polls it (an internet session's abort).
  const std::atomic<bool>& flag() const { return requested_; }

  // Sleeps for duration, or until a stop is requested. False when the stop
  // came (or had come) first.
  bool sleepFor(std::chrono::milliseconds duration) const;

 private:
  std::atomic<bool> requested_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable woken_;
};

}  // namespace gleaner
