// One life of the main window: the window, the run controller that its
// buttons drive, the modal run, and the shutdown when it closes.
//
// Closing during a run: the window first decides the close (the runs' calls
// are answered from then on without touching it), then the runs are stopped
// and their threads waited for while pending calls are pumped, and only then
// is anything destroyed.
//
// With a result store the list is kept in it from the window's first list
// change on; the store records a clean end only when every run's thread has
// ended, so a crash, a kill or a hung close leaves it marked unclean.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "extract/Sites.h"

namespace gleaner {

class MainDialog;
class RunController;
class StoreWriter;

class MainWindowSession {
 public:
  // store: the result store's file; none keeps the list in memory only.
  explicit MainWindowSession(const Sites& sites, const std::optional<std::filesystem::path>& store = std::nullopt);
  ~MainWindowSession();
  MainWindowSession(const MainWindowSession&) = delete;
  MainWindowSession& operator=(const MainWindowSession&) = delete;

  MainDialog& dialog() { return *dialog_; }
  RunController& controller() { return *controller_; }

  // Shows the window modally (first offering to restore the list of a run
  // that did not end cleanly); returns once it has closed and every run's
  // thread has ended.
  void runModal();

  // Decides the close and waits (pumping) for the runs' threads. False when
  // they did not end within limit; the window and the controller are then
  // left alive for them, never destroyed.
  bool shutDown(std::chrono::milliseconds limit = std::chrono::seconds(60));

 private:
  void closeStore();

  std::unique_ptr<StoreWriter> store_;
  MainDialog* dialog_ = nullptr;  // a top-level window: destroyed through Destroy()
  std::unique_ptr<RunController> controller_;
  bool threadsEnded_ = false;
};

}  // namespace gleaner
