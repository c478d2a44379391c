// What the window's run buttons do: collect, pause/continue and stop, and the
// shutdown that closing the window (or interrupting the runner) needs.
//
// Each collect starts a new run thread (a MainThread). A run's state lives as
// long as any of its threads uses it. The controller counts every thread it
// started, so shutdown can wait for all of them.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "extract/Sites.h"

namespace gleaner {

class MainWindowView;
struct RunSummary;

class RunController {
 public:
  // window must outlive every thread of every run: destroy the controller (or
  // call shutdown) before the window.
  RunController(MainWindowView& window, Sites sites);
  ~RunController();  // shutdown() without a pump
  RunController(const RunController&) = delete;
  RunController& operator=(const RunController&) = delete;

  // Collect button: starts a new run on its own thread and returns at once.
  void collect();
  // Stop button: asks the latest run to stop; nothing when there is none or
  // it has already ended.
  void stop();
  // Pause/continue button: flips PauseToggle and the process-wide pause request.
  void togglePause();
  bool pauseToggle() const;

  // True while a thread of any run started here has not ended.
  bool busy() const;

  // Stops every run, makes downloads in flight fail at once, and waits
  // until every thread has ended, calling pump (if given) between short waits
  // so that the thread that calls this can answer the runs' window calls.
  // False when limit passed first: threads may then still use the window.
  // The controller starts no runs that walk after this.
  bool shutdown(const std::function<void()>& pump = {},
                std::chrono::milliseconds limit = std::chrono::seconds(60));

  // The latest run's outcome and downloaded page count; null before the
  // first collect.
  std::shared_ptr<const RunSummary> latestSummary() const;

  const Sites& sites() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace gleaner
