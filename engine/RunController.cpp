#include "engine/RunController.h"

#include <mutex>
#include <vector>

#include "engine/FailureMessages.h"
#include "engine/MainThread.h"
#include "engine/MainWindowView.h"
#include "engine/ProcessValues.h"
#include "engine/ThreadGroup.h"
#include "net/InternetClient.h"

namespace gleaner {

struct RunController::Impl {
  Impl(MainWindowView& w, Sites s) : window(w), sites(std::move(s)) {}

  MainWindowView& window;
  const Sites sites;
  std::shared_ptr<ThreadGroup> threads = std::make_shared<ThreadGroup>();
  mutable std::mutex mutex;
  // The latest run. Weak: a stop pressed after that run has ended (a refused
  // start included) finds nothing and touches nothing.
  std::weak_ptr<MainThread> latest;
  // Every run that may still have a thread: shutting down stops them all,
  // a finishing worker of an earlier stopped run included.
  std::vector<std::weak_ptr<MainThread>> runs;
  std::shared_ptr<const RunSummary> latestSummary;
  bool pauseToggle = true;
};

RunController::RunController(MainWindowView& window, Sites sites)
    : impl_(std::make_unique<Impl>(window, std::move(sites))) {}

RunController::~RunController() { shutdown(); }

void RunController::collect() {
  auto run = std::make_shared<MainThread>(impl_->window, impl_->sites, impl_->threads);
  {
    std::lock_guard lock(impl_->mutex);
    impl_->latest = run;
    std::erase_if(impl_->runs, [](const std::weak_ptr<MainThread>& r) { return r.expired(); });
    impl_->runs.push_back(run);
    impl_->latestSummary = run->summary();
  }
  if (!impl_->threads->start([run] { run->Run(); })) {
    impl_->window.showMessage(runThreadFailureMessage());
  }
}

void RunController::stop() {
  std::lock_guard lock(impl_->mutex);
  if (auto run = impl_->latest.lock()) run->requestStop();
}

void RunController::togglePause() {
  std::lock_guard lock(impl_->mutex);
  PauseRequested = impl_->pauseToggle;
  impl_->pauseToggle = !impl_->pauseToggle;
}

bool RunController::pauseToggle() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->pauseToggle;
}

bool RunController::busy() const { return impl_->threads->running() > 0; }

bool RunController::shutdown(const std::function<void()>& pump, std::chrono::milliseconds limit) {
  if (impl_->threads->running() == 0) return true;
  {
    std::lock_guard lock(impl_->mutex);
    for (const auto& weak : impl_->runs) {
      if (auto run = weak.lock()) run->requestStop();
    }
  }
  impl_->threads->beginShutdown();
  InternetClient::abortAllTransfers(true);
  const bool allEnded = impl_->threads->waitAll(pump, limit);
  // Transfers stay aborted while a thread of ours may still be in one.
  if (allEnded) InternetClient::abortAllTransfers(false);
  return allEnded;
}

std::shared_ptr<const RunSummary> RunController::latestSummary() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->latestSummary;
}

const Sites& RunController::sites() const { return impl_->sites; }

}  // namespace gleaner
