// One run: from the press of collect to its outcome. It owns everything of
// the run: its request, its stop, its counts, and the walk of each entry
// (the one keyword or item of a single run, or each one of a batch in
// turn), with that walk's page queue, rule health and end. Pages come in
// through the one page download, the job's reader turns each into rows
// (asking the walk for any further page a record needs), and the rows, the
// status lines, where the run stands and at last the outcome go to the
// run's watcher.
//
// The run thread, every worker and a finishing worker of a stopped run each
// hold a share of the run (and of the walk they work for), so it lives
// exactly as long as anything of it runs.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunOutcome.h"
#include "engine/RunProgress.h"
#include "engine/RunRequest.h"
#include "extract/Sites.h"
#include "extract/StopSignal.h"

namespace gleaner {

class PauseSwitch;
class RunWatcher;
class ThreadGroup;

class Run : public std::enable_shared_from_this<Run> {
 public:
  // watcher and pause must outlive every thread of the run. from: where a
  // stopped, crashed or killed run of the same request stood; the run goes
  // on from there (its page read again), none for a new run.
  Run(RunRequest request, RunWatcher& watcher, Sites sites, const PauseSwitch& pause,
      std::shared_ptr<ThreadGroup> threads, std::optional<RunProgress> from = std::nullopt);
  ~Run();
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // The run thread's body: each entry's walk in turn, then the end. Returns
  // once the watcher has been told the outcome.
  //
  // A walk: a worker is started every 100 ms while a page waits, fewer than
  // ten hold a slot and no pause stands, until no page waits and no worker
  // holds a slot, or the run is stopped; a second after the last walk the
  // run ends.
  void execute();

  // Stop button: the walk ends at its next pass, every download of the run
  // (the page, the item page, a record's offer or rating page, a rule file)
  // ends at once, a page being read ends with the record in hand (dropped
  // while its offer or rating page was still on its way), and no further
  // page or entry is asked for.
  void requestStop() { stop_.request(); }
  bool stopRequested() const { return stop_.requested(); }

  const RunRequest& request() const { return request_; }
  // The outcome, once the run has ended.
  std::optional<RunOutcome> outcome() const;

 private:
  class Walk;
  friend class Walk;

  // One entry's walk, to its end; its outcome.
  RunOutcome walkEntry(std::size_t entry, const std::optional<RunProgress>& from);
  void walkPages(const std::shared_ptr<Walk>& walk, const std::string& firstAddress);
  void startWorker(const std::shared_ptr<Walk>& walk);
  RunOutcome batchOutcome(std::vector<RunOutcome> entries) const;
  void statusChanged(const Walk& walk, const std::string& line);
  void end(RunOutcome outcome);

  const RunRequest request_;
  const std::vector<std::string> entries_;
  RunWatcher& watcher_;
  const Sites sites_;
  const PauseSwitch& pause_;
  const std::shared_ptr<ThreadGroup> threads_;
  const std::optional<RunProgress> from_;

  StopSignal stop_;
  std::atomic<std::size_t> rows_{0};  // rows of the list, the kept ones of a resumed run included

  mutable std::mutex mutex_;
  std::optional<RunOutcome> outcome_;
};

}  // namespace gleaner
