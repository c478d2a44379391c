// One run: from the press of collect to "任务完成！". It holds the run's queue,
// its job and the settings it read from the tab pages at its start, and the
// stop request. The job and the settings belong to the run: a tab clicked or
// a box edited while it walks changes nothing of it. The run thread, every
// worker and a finishing worker of a stopped run each hold a share of it, so
// it lives exactly as long as anything of the run uses it.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "engine/CollectionMode.h"
#include "engine/CollectionState.h"
#include "engine/RunHealth.h"
#include "extract/RunContext.h"
#include "extract/Sites.h"

namespace gleaner {

class MainWindowView;
class ThreadGroup;

// What is known of a run after it has ended; kept by the controller, while
// the run itself is freed.
struct RunSummary {
  enum class Outcome { Starting, Refused, ItemPageFailed, Walking, Finished };
  std::atomic<Outcome> outcome{Outcome::Starting};
  std::atomic<int> pagesDownloaded{0};
  // Downloaded pages whose extraction a failure ended (rule file missing,
  // broken or unreachable, a secondary page that failed).
  std::atomic<int> extractionsFailed{0};
  // How the rules fared: pages without records, rule failures, warnings.
  RunHealth health;
};

class MainThread : public std::enable_shared_from_this<MainThread> {
 public:
  using Outcome = RunSummary::Outcome;

  MainThread(MainWindowView& window, Sites sites, std::shared_ptr<ThreadGroup> threads);
  virtual ~MainThread() = default;
  MainThread(const MainThread&) = delete;
  MainThread& operator=(const MainThread&) = delete;

  // The run thread's body: StartRun, and ExitInstance after a refused start.
  void Run();

  // Reads the job and its settings, prepares the list, builds the first
  // address and calls RunLoop. False when the run was refused.
  bool StartRun();
  // Pushes the first address, starts a worker every 100 ms while an address
  // waits, fewer than ten hold a slot and no pause is requested, until every
  // address is handed out and no worker holds a slot, or stop is requested.
  void RunLoop(const std::string& firstAddress);
  // The run's end: enables the collect button again.
  void ExitInstance();

  // Stop button: the run loop ends at its next pass, pauses wake at once,
  // pages end after the record in hand and queue nothing more.
  void requestStop() { context.stop.request(); }
  bool stopRequested() const { return context.stop.requested(); }
  std::shared_ptr<const RunSummary> summary() const { return summary_; }
  RunHealth& health() { return summary_->health; }

  MainWindowView& window() { return window_; }
  const Sites& sites() const { return sites_; }
  // The job, from the tab selected when the run started.
  CollectionMode mode() const { return mode_; }

  CollectionState state;
  RunContext context;
  std::string firstAddress;
  std::string offerPagesText;
  std::string sellerPagesText;
  std::string sellerLevelText;
  std::string itemTitleText;

 private:
  friend void WorkerProc(std::shared_ptr<MainThread> run);

  bool startOfferSearch();
  bool startItemBuyers();
  bool startSellerSearch();
  void startWorker();
  void refuse(std::string_view message);

  MainWindowView& window_;
  const Sites sites_;
  CollectionMode mode_ = CollectionMode::None;
  std::shared_ptr<ThreadGroup> threads_;
  const std::shared_ptr<RunSummary> summary_ = std::make_shared<RunSummary>();
};

}  // namespace gleaner
