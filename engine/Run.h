// One run: from the press of collect to its outcome. It owns everything of
// the run: its request, its page queue and walk, its stop, its counts and
// rule health. Pages come in through the one page download, the job's
// reader turns each into rows (asking the run for any further page a record
// needs), and the rows, the status lines and at last the outcome go to the
// run's watcher.
//
// The run thread, every worker and a finishing worker of a stopped run each
// hold a share of the run, so it lives exactly as long as anything of it
// runs.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/NextPageRule.h"
#include "engine/PageQueue.h"
#include "engine/RunHealth.h"
#include "engine/RunOutcome.h"
#include "engine/RunRequest.h"
#include "extract/PageReport.h"
#include "extract/ReaderHost.h"
#include "extract/RuleSource.h"
#include "extract/Sites.h"
#include "extract/StopSignal.h"

namespace gleaner {

class PauseSwitch;
class RunWatcher;
class ThreadGroup;

class Run : public std::enable_shared_from_this<Run>, private ReaderHost {
 public:
  // watcher and pause must outlive every thread of the run.
  Run(RunRequest request, RunWatcher& watcher, Sites sites, const PauseSwitch& pause,
      std::shared_ptr<ThreadGroup> threads);
  ~Run() override;
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // The run thread's body: the start (a buyers run's item page), the walk
  // and the end. Returns once the watcher has been told the outcome.
  //
  // The walk: a worker is started every 100 ms while a page waits, fewer
  // than ten hold a slot and no pause stands, until no page waits and no
  // worker holds a slot, or the run is stopped; a second later the run ends.
  void execute();

  // Stop button: the walk ends at its next pass, every download of the run
  // (the page, the item page, a record's offer or rating page, a rule file)
  // ends at once, a page being read ends with the record in hand (dropped
  // while its offer or rating page was still on its way), and no further
  // page is asked for.
  void requestStop() { stop_.request(); }
  bool stopRequested() const { return stop_.requested(); }

  const RunRequest& request() const { return request_; }
  // The outcome, once the run has ended.
  std::optional<RunOutcome> outcome() const;

 private:
  // The first review page of a buyers run, from its item page; nothing when
  // the run has ended already (the item page failed or is no item page).
  std::optional<std::string> startBuyers();
  void walk(const std::string& firstAddress);
  void startWorker();
  // A worker's body: one page from the queue, downloaded and read, its
  // successor queued before the slot is given back, so the walk never sees
  // an empty queue and no worker between a page and the next.
  void readNextPage();
  std::optional<std::string> download(const std::string& address, int number);
  void readPage(const std::string& address, const std::string& page, int number);
  PageReport readWithJobReader(const std::string& page);
  void noteFailedPage(int number, const std::string& address, const std::exception& failure);
  OutcomeKind decide() const;
  void end(OutcomeKind kind);

  // --- ReaderHost ---
  void rowFound(const ResultRow& row) override;
  std::string lookupPage(const std::string& address) override;
  void reportFailure(const std::string& report) override;

  const RunRequest request_;
  RunWatcher& watcher_;
  const Sites sites_;
  const PauseSwitch& pause_;
  const std::shared_ptr<ThreadGroup> threads_;

  StopSignal stop_;
  PageQueue queue_;
  RunHealth health_;
  RuleSource rules_;

  // Written by the one page in flight (or the run thread before the walk).
  PageWalk walk_;
  std::string itemTitle_;
  std::atomic<int> pagesDownloaded_{0};
  std::atomic<int> extractionsFailed_{0};
  std::atomic<int> rows_{0};

  mutable std::mutex mutex_;  // guards what the end reads
  std::optional<FailedPage> failedPage_;
  int resultsEndedAt_ = 0;
  std::optional<RunOutcome> outcome_;
};

}  // namespace gleaner
