// The pause/continue button's state. The window owns it and hands it to
// every run: a pause outlives the run it was pressed in, and a run started
// while one stands reads its first page and then waits.
#pragma once

#include <atomic>

namespace gleaner {

class PauseSwitch {
 public:
  // The first press pauses, the next lets the runs go on.
  void toggle() { paused_ = !paused_.load(); }
  bool paused() const { return paused_.load(); }

 private:
  std::atomic<bool> paused_{false};
};

}  // namespace gleaner
