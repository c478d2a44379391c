// Carries calls from the run's threads out on the user-interface thread.
//
// A call from another thread is queued to the application's event loop and
// the caller waits for it. Once the window has decided to close, calls are
// answered at once without running (and callers already waiting are
// released), so a closing window never has to wait for a run's threads to
// get through to it.
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace gleaner {

class UiDispatcher {
 public:
  UiDispatcher();

  // Runs task on the user-interface thread and returns when it is done; on
  // that thread itself the task runs at once. False when the task was not
  // run because the window is closing.
  bool call(std::function<void()> task);

  // User-interface thread: from now on no task runs.
  void close();
  bool isClosed() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace gleaner
