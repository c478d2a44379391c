// Counts the threads of the runs, so that shutting down can wait for every
// one of them. Threads are detached: a run thread ends when its run ends and
// a worker when its page is done; none is parked for the life of the process.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace gleaner {

class ThreadGroup : public std::enable_shared_from_this<ThreadGroup> {
 public:
  // Runs fn on a new thread counted by the group. Everything fn holds is
  // released before the thread stops counting. False when no thread could be
  // created (fn is then not run).
  bool start(std::function<void()> fn);

  int running() const;

  // Sleeps for the duration, or until shutdown begins. False when cut short.
  bool sleepFor(std::chrono::milliseconds duration);

  // From now on sleeps end at once.
  void beginShutdown();
  bool shuttingDown() const;

  // Waits until no thread of the group runs, calling pump (when given)
  // between waits of a few milliseconds. False when limit passed first.
  bool waitAll(const std::function<void()>& pump, std::chrono::milliseconds limit);

 private:
  void finished();

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int running_ = 0;
  bool shuttingDown_ = false;
};

}  // namespace gleaner
