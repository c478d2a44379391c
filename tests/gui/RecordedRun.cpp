#include "RecordedRun.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "engine/PauseSwitch.h"
#include "engine/RunController.h"
#include "engine/RunProgress.h"
#include "engine/RunWatcher.h"
#include "text/GbkConvert.h"

namespace gleaner::testing {
namespace {

class Recorder : public RunWatcher {
 public:
  explicit Recorder(std::size_t enough) : enough_(enough) {}

  void runStarted(const RunStart&) override {}
  void progressChanged(const RunProgress&) override {}
  void rowFound(const ResultRow& row, int) override {
    std::lock_guard lock(mutex_);
    if (run_.rows.size() < enough_) run_.rows.push_back(row);
    changed_.notify_all();
  }
  void statusChanged(const std::string&) override {}
  void failureReported(const std::string&) override {}
  void runEnded(const RunOutcome& outcome) override {
    std::lock_guard lock(mutex_);
    run_.outcome = outcome;
    changed_.notify_all();
  }

  // True when the run ended or found enough rows within limit.
  bool waitForEndOrEnough(std::chrono::seconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return run_.outcome || run_.rows.size() >= enough_; });
  }
  RecordedRun taken() {
    std::lock_guard lock(mutex_);
    return run_;
  }

 private:
  const std::size_t enough_;
  std::mutex mutex_;
  std::condition_variable changed_;
  RecordedRun run_;
};

}  // namespace

RecordedRun recordRun(const Sites& sites, const RunRequest& request, std::size_t enough) {
  Recorder recorder(enough);
  PauseSwitch pause;
  RunController controller(recorder, sites, pause);
  if (!controller.collect(request)) return {};
  const bool ended = recorder.waitForEndOrEnough(std::chrono::seconds(120));
  controller.stop();
  controller.shutdown();
  RecordedRun run = recorder.taken();
  if (!ended) run.outcome.reset();
  return run;
}

RunRequest offerRequest(const char* keyword, int pages) {
  RunRequest request;
  request.job = Job::Offers;
  request.keyword = gbk::fromUtf8(keyword);
  request.pages = pages;
  return request;
}

RunRequest sellerRequest(const char* keyword, int pages, const char* levelUtf8) {
  RunRequest request;
  request.job = Job::Sellers;
  request.keyword = gbk::fromUtf8(keyword);
  request.pages = pages;
  request.levelFilter = gbk::fromUtf8(levelUtf8);
  return request;
}

RunRequest buyerRequest(const std::string& itemAddress) {
  RunRequest request;
  request.job = Job::Buyers;
  request.itemAddress = itemAddress;
  return request;
}

}  // namespace gleaner::testing
