// The page queue and worker slots of one run, under a lock of their own.
//
// The queue is append-only: a slot once filled is never reused, and handing an
// address out only advances nextIndex_, so a run handles at most kCapacity
// addresses in all, its first one included.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace gleaner {

class PageQueue {
 public:
  static constexpr std::int32_t kCapacity = 4000;
  static constexpr std::int32_t kMaxWorkers = 10;

  PageQueue() = default;
  virtual ~PageQueue() = default;
  PageQueue(const PageQueue&) = delete;
  PageQueue& operator=(const PageQueue&) = delete;

  // Stores the address in the next free slot; a full queue drops it silently.
  // False when the queue is full (the address is dropped).
  bool pushAddress(const std::string& address);
  bool isFull() const;
  // Hands out the next waiting address; false, and out untouched, when none waits.
  bool popAddress(std::string& out);
  bool acquireWorker();
  bool releaseWorker();

  // The run loop's end test, seen in one consistent state: every address
  // handed out and no worker holding a slot. Two separate calls could see a
  // worker queue its successor and give back its slot in between.
  bool allHandedOutAndNoWorker() const;
  // No worker holds a slot (a stopped walk's last page is done).
  bool noWorker() const;

  // A worker slot for an address that waits: false when none waits or ten
  // slots are held. A worker started for nothing would hold its slot just
  // when the run loop tests for the end, right after starting it, and keep a
  // finished run from ending for as long as that keeps happening.
  bool acquireWorkerForWaitingAddress();

 private:
  mutable std::mutex lock_;
  const std::int32_t capacity_ = kCapacity;
  const std::int32_t maxWorkers_ = kMaxWorkers;
  std::array<std::string, kCapacity> addresses_;
  std::int32_t pushedCount_ = 0;
  std::int32_t nextIndex_ = 0;
  std::int32_t runningWorkers_ = 0;
};

// The worker's way to queue a next page: pushed only while the queue is not
// full. pushAddress checks again, so a race between the two drops the address
// instead of overflowing.
bool queueAddress(const std::string& address, PageQueue& state);

}  // namespace gleaner
