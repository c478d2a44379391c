// The run fields that the main window holds for the runs: row and page
// counters and the two texts the extractors read. Counters are atomic (a
// finishing worker of a stopped run may count beside the next run's worker);
// the texts are guarded by a lock of their own.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace gleaner {

class RunFields {
 public:
  std::atomic<int> sellerRowCounter{0};
  std::atomic<int> buyerRowCounter{0};
  std::atomic<int> offerRowCounter{0};
  std::atomic<int> offerPageCounter{0};
  std::atomic<int> sellerPageCounter{0};

  std::string levelFilterText() const {
    std::lock_guard lock(mutex_);
    return levelFilterText_;
  }
  void setLevelFilterText(std::string text) {
    std::lock_guard lock(mutex_);
    levelFilterText_ = std::move(text);
  }
  std::string itemTitle() const {
    std::lock_guard lock(mutex_);
    return itemTitle_;
  }
  void setItemTitle(std::string text) {
    std::lock_guard lock(mutex_);
    itemTitle_ = std::move(text);
  }

 private:
  mutable std::mutex mutex_;
  std::string levelFilterText_;
  std::string itemTitle_;
};

}  // namespace gleaner
