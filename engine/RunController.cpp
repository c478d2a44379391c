#include "engine/RunController.h"

#include <mutex>
#include <vector>

#include "engine/Run.h"
#include "engine/ThreadGroup.h"
#include "net/InternetClient.h"

namespace gleaner {

struct RunController::Impl {
  Impl(RunWatcher& w, Sites s, const PauseSwitch& p) : watcher(w), sites(std::move(s)), pause(p) {}

  RunWatcher& watcher;
  const Sites sites;
  const PauseSwitch& pause;
  std::shared_ptr<ThreadGroup> threads = std::make_shared<ThreadGroup>();
  mutable std::mutex mutex;
  std::shared_ptr<Run> latest;
  // Every run that may still have a thread: shutting down stops them all,
  // a finishing worker of an earlier stopped run included.
  std::vector<std::weak_ptr<Run>> runs;
};

RunController::RunController(RunWatcher& watcher, Sites sites, const PauseSwitch& pause)
    : impl_(std::make_unique<Impl>(watcher, std::move(sites), pause)) {}

RunController::~RunController() { shutdown(); }

bool RunController::collect(const RunRequest& request, const std::optional<RunProgress>& from) {
  auto run = std::make_shared<Run>(request, impl_->watcher, impl_->sites, impl_->pause, impl_->threads, from);
  {
    std::lock_guard lock(impl_->mutex);
    impl_->latest = run;
    std::erase_if(impl_->runs, [](const std::weak_ptr<Run>& r) { return r.expired(); });
    impl_->runs.push_back(run);
  }
  return impl_->threads->start([run] { run->execute(); });
}

void RunController::stop() {
  std::lock_guard lock(impl_->mutex);
  if (impl_->latest) impl_->latest->requestStop();
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

std::shared_ptr<const Run> RunController::latestRun() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->latest;
}

const Sites& RunController::sites() const { return impl_->sites; }

}  // namespace gleaner
