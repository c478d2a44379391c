// One life of the main window: the window, the run controller that its
// buttons drive, the modal run, and the shutdown when it closes.
//
// Closing during a run: the window first decides the close (the runs' calls
// are answered from then on without touching it), then the runs are stopped
// and their threads waited for while pending calls are pumped, and only then
// is anything destroyed.
#pragma once

#include <chrono>
#include <memory>

#include "extract/Sites.h"

namespace gleaner {

class MainDialog;
class RunController;

class MainWindowSession {
 public:
  explicit MainWindowSession(const Sites& sites);
  ~MainWindowSession();
  MainWindowSession(const MainWindowSession&) = delete;
  MainWindowSession& operator=(const MainWindowSession&) = delete;

  MainDialog& dialog() { return *dialog_; }
  RunController& controller() { return *controller_; }

  // Shows the window modally; returns once it has closed and every run's
  // thread has ended.
  void runModal();

  // Decides the close and waits (pumping) for the runs' threads. False when
  // they did not end within limit; the window and the controller are then
  // left alive for them, never destroyed.
  bool shutDown(std::chrono::milliseconds limit = std::chrono::seconds(60));

 private:
  MainDialog* dialog_ = nullptr;  // a top-level window: destroyed through Destroy()
  std::unique_ptr<RunController> controller_;
  bool threadsEnded_ = false;
};

}  // namespace gleaner
