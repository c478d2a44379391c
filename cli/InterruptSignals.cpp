#include "cli/InterruptSignals.h"

#include <atomic>
#include <csignal>

namespace gleaner::cli {

namespace {

std::atomic<int> interrupts{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free counter");

extern "C" void onInterrupt(int) { interrupts.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

void installInterruptSignals() {
  struct sigaction action = {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls restart: the runner polls the count itself.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

int interruptCount() { return interrupts.load(std::memory_order_relaxed); }

}  // namespace gleaner::cli
