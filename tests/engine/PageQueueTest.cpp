#include "engine/PageQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace gleaner {
namespace {

TEST(PageQueue, QueueHoldsFourThousandAddressesAndDropsTheRest) {
  PageQueue state;
  for (int i = 0; i < PageQueue::kCapacity; ++i) state.pushAddress("a" + std::to_string(i));
  EXPECT_TRUE(state.isFull());
  state.pushAddress("one too many");
  queueAddress("one more", state);
  std::string address;
  int handed = 0;
  while (state.popAddress(address)) ++handed;
  EXPECT_EQ(handed, PageQueue::kCapacity);
  EXPECT_EQ(address, "a3999");
  EXPECT_TRUE(state.allHandedOutAndNoWorker());
  // Handing out never frees a slot: the queue stays full.
  EXPECT_TRUE(state.isFull());
}

TEST(PageQueue, PopHandsOutInOrderAndLeavesTheOutputAloneWhenEmpty) {
  PageQueue state;
  EXPECT_TRUE(state.allHandedOutAndNoWorker());
  state.pushAddress("first");
  queueAddress("second", state);
  EXPECT_FALSE(state.allHandedOutAndNoWorker());
  std::string address = "untouched";
  ASSERT_TRUE(state.popAddress(address));
  EXPECT_EQ(address, "first");
  ASSERT_TRUE(state.popAddress(address));
  EXPECT_EQ(address, "second");
  address = "untouched";
  EXPECT_FALSE(state.popAddress(address));
  EXPECT_EQ(address, "untouched");
  EXPECT_TRUE(state.allHandedOutAndNoWorker());
}

TEST(PageQueue, TenWorkerSlotsAndNoReleaseBelowZero) {
  PageQueue state;
  EXPECT_FALSE(state.releaseWorker());
  for (int i = 0; i < PageQueue::kMaxWorkers; ++i) EXPECT_TRUE(state.acquireWorker());
  EXPECT_FALSE(state.acquireWorker());
  EXPECT_TRUE(state.releaseWorker());
  EXPECT_TRUE(state.acquireWorker());
}

TEST(PageQueue, WorkerSlotOnlyForAWaitingAddress) {
  PageQueue state;
  EXPECT_FALSE(state.acquireWorkerForWaitingAddress());
  state.pushAddress("x");
  for (int i = 0; i < PageQueue::kMaxWorkers; ++i) ASSERT_TRUE(state.acquireWorkerForWaitingAddress());
  EXPECT_FALSE(state.acquireWorkerForWaitingAddress());
  EXPECT_FALSE(state.acquireWorker()) << "all ten slots are held";
}

TEST(PageQueue, EndTestSeesQueueAndSlotsTogether) {
  PageQueue state;
  EXPECT_TRUE(state.allHandedOutAndNoWorker());
  state.pushAddress("x");
  EXPECT_FALSE(state.allHandedOutAndNoWorker());
  ASSERT_TRUE(state.acquireWorker());
  std::string address;
  ASSERT_TRUE(state.popAddress(address));
  EXPECT_FALSE(state.allHandedOutAndNoWorker());
  ASSERT_TRUE(state.releaseWorker());
  EXPECT_TRUE(state.allHandedOutAndNoWorker());
}

// Many threads push, pop, acquire and release at once: no address is handed
// out twice or lost, the slot count stays within 0..10 and the queue never
// takes more than its capacity.
TEST(PageQueue, HammeredFromManyThreadsKeepsItsInvariants) {
  PageQueue state;
  constexpr int kThreads = 16;
  constexpr int kPushesPerThread = 300;  // 4800 pushes: more than the capacity
  std::atomic<int> slotsHeld{0};
  std::atomic<bool> slotOverflow{false};
  std::vector<std::vector<std::string>> popped(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPushesPerThread; ++i) {
        queueAddress(std::to_string(t) + ":" + std::to_string(i), state);
        if (state.acquireWorker()) {
          if (++slotsHeld > PageQueue::kMaxWorkers) slotOverflow = true;
          std::string address;
          if (state.popAddress(address)) popped[t].push_back(address);
          --slotsHeld;
          EXPECT_TRUE(state.releaseWorker());
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_FALSE(slotOverflow);
  EXPECT_FALSE(state.releaseWorker()) << "every slot was given back";
  EXPECT_TRUE(state.isFull());

  std::string address;
  std::vector<std::string> rest;
  while (state.popAddress(address)) rest.push_back(address);
  std::set<std::string> seen;
  size_t total = rest.size();
  for (const auto& list : popped) total += list.size();
  for (const auto& list : popped) seen.insert(list.begin(), list.end());
  seen.insert(rest.begin(), rest.end());
  EXPECT_EQ(total, static_cast<size_t>(PageQueue::kCapacity));
  EXPECT_EQ(seen.size(), total) << "an address was handed out twice";
  EXPECT_TRUE(state.allHandedOutAndNoWorker());
}

}  // namespace
}  // namespace gleaner
