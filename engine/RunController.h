// What the run buttons do: collect, stop, and the shutdown that closing the
// window (or interrupting the runner) needs. The pause switch is the
// window's; the controller hands it to every run.
//
// Each collect starts a new Run on its own thread. A run lives as long as
// any of its threads uses it. The controller counts every thread it
// started, so shutdown can wait for all of them.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "engine/RunProgress.h"
#include "engine/RunRequest.h"
#include "extract/Sites.h"

namespace gleaner {

class PauseSwitch;
class Run;
class RunWatcher;

class RunController {
 public:
  // watcher and pause must outlive every thread of every run: destroy the
  // controller (or call shutdown) before them.
  RunController(RunWatcher& watcher, Sites sites, const PauseSwitch& pause);
  ~RunController();  // shutdown() without a pump
  RunController(const RunController&) = delete;
  RunController& operator=(const RunController&) = delete;

  // Collect: starts a new run of request on its own thread and returns at
  // once; with from, the run goes on from where an earlier run of the same
  // request stood. False when no thread could be started (nothing was run).
  bool collect(const RunRequest& request, const std::optional<RunProgress>& from = std::nullopt);
  // Stop: asks the latest run to stop; nothing when there is none or it has
  // ended already.
  void stop();

  // True while a thread of any run started here has not ended.
  bool busy() const;

  // Stops every run, makes downloads in flight fail at once, and waits until
  // every thread has ended, calling pump (if given) between short waits so
  // that the thread that calls this can answer the runs' calls. False when
  // limit passed first: threads may then still use the watcher. No run
  // walks after this.
  bool shutdown(const std::function<void()>& pump = {},
                std::chrono::milliseconds limit = std::chrono::seconds(60));

  // The latest run; null before the first collect.
  std::shared_ptr<const Run> latestRun() const;

  const Sites& sites() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace gleaner
