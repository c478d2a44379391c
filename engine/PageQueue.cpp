#include "engine/PageQueue.h"

namespace gleaner {

bool PageQueue::pushAddress(const std::string& address) {
  std::lock_guard guard(lock_);
  if (pushedCount_ == capacity_) return false;
  addresses_[static_cast<std::size_t>(pushedCount_)] = address;
  ++pushedCount_;
  return true;
}

bool PageQueue::isFull() const {
  std::lock_guard guard(lock_);
  return pushedCount_ == capacity_;
}

bool PageQueue::popAddress(std::string& out) {
  std::lock_guard guard(lock_);
  if (static_cast<std::uint32_t>(nextIndex_) >= static_cast<std::uint32_t>(pushedCount_)) return false;
  out = addresses_[static_cast<std::size_t>(nextIndex_)];
  ++nextIndex_;
  return true;
}

bool PageQueue::acquireWorker() {
  std::lock_guard guard(lock_);
  if (runningWorkers_ == maxWorkers_) return false;
  ++runningWorkers_;
  return true;
}

bool PageQueue::releaseWorker() {
  std::lock_guard guard(lock_);
  if (runningWorkers_ == 0) return false;
  --runningWorkers_;
  return true;
}

bool PageQueue::allHandedOutAndNoWorker() const {
  std::lock_guard guard(lock_);
  return static_cast<std::uint32_t>(pushedCount_) <= static_cast<std::uint32_t>(nextIndex_) && runningWorkers_ == 0;
}

bool PageQueue::noWorker() const {
  std::lock_guard guard(lock_);
  return runningWorkers_ == 0;
}

bool PageQueue::acquireWorkerForWaitingAddress() {
  std::lock_guard guard(lock_);
  const bool waiting = static_cast<std::uint32_t>(nextIndex_) < static_cast<std::uint32_t>(pushedCount_);
  if (!waiting || runningWorkers_ == maxWorkers_) return false;
  ++runningWorkers_;
  return true;
}

bool queueAddress(const std::string& address, PageQueue& state) {
  return !state.isFull() && state.pushAddress(address);
}

}  // namespace gleaner
