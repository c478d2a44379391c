#include "engine/ThreadGroup.h"

#include <system_error>
#include <thread>

namespace gleaner {

bool ThreadGroup::start(std::function<void()> fn) {
  {
    std::lock_guard lock(mutex_);
    ++running_;
  }
  try {
    std::thread([self = shared_from_this(), fn = std::move(fn)]() mutable {
      try {
        auto body = std::move(fn);
        body();
      } catch (...) {
        // A thread body reports its own failures; nothing may end the process here.
      }
      self->finished();
    }).detach();
    return true;
  } catch (const std::system_error&) {
    finished();
    return false;
  }
}

void ThreadGroup::finished() {
  std::lock_guard lock(mutex_);
  --running_;
  changed_.notify_all();
}

int ThreadGroup::running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

bool ThreadGroup::sleepFor(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return !changed_.wait_for(lock, duration, [this] { return shuttingDown_; });
}

void ThreadGroup::beginShutdown() {
  std::lock_guard lock(mutex_);
  shuttingDown_ = true;
  changed_.notify_all();
}

bool ThreadGroup::shuttingDown() const {
  std::lock_guard lock(mutex_);
  return shuttingDown_;
}

bool ThreadGroup::waitAll(const std::function<void()>& pump, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::unique_lock lock(mutex_);
  while (running_ > 0) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    if (pump) {
      lock.unlock();
      pump();
      lock.lock();
      changed_.wait_for(lock, std::chrono::milliseconds(5), [this] { return running_ == 0; });
    } else {
      changed_.wait_until(lock, deadline, [this] { return running_ == 0; });
    }
  }
  return true;
}

}  // namespace gleaner
