// A mutex that lets a waiting reader in before the next change. A thread
// that appends as fast as it can would otherwise take the lock again before a
// woken reader (the window drawing the list) gets to run, and starve it for
// tens of milliseconds.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace gleaner {

class ReaderFirstMutex {
 public:
  // Changes (lock_guard works on these).
  void lock() {
    while (readersWaiting_.load(std::memory_order_acquire) > 0) std::this_thread::yield();
    mutex_.lock();
  }
  void unlock() { mutex_.unlock(); }

  // Reads: announced before they wait, so that changes hold back.
  class Reading {
   public:
    explicit Reading(ReaderFirstMutex& m) : m_(m) {
      m_.readersWaiting_.fetch_add(1, std::memory_order_acq_rel);
      m_.mutex_.lock();
      m_.readersWaiting_.fetch_sub(1, std::memory_order_acq_rel);
    }
    ~Reading() { m_.mutex_.unlock(); }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;

   private:
    ReaderFirstMutex& m_;
  };

 private:
  std::mutex mutex_;
  std::atomic<int> readersWaiting_{0};
};

}  // namespace gleaner
