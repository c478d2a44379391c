#include "cli/InterruptSignals.h"

#include <atomic>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace gleaner::cli {

namespace {

std::atomic<int> interrupts{0};
std::atomic<int> firstSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free counter");

void countInterrupt(int signal) {
  int none = 0;
  firstSignal.compare_exchange_strong(none, signal, std::memory_order_relaxed);
  interrupts.fetch_add(1, std::memory_order_relaxed);
}

#ifdef _WIN32

// Runs on a thread of its own that the system starts for each event.
BOOL WINAPI onConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      countInterrupt(SIGINT);
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      countInterrupt(SIGTERM);
      // Returning ends the process at once. The program stops, writes its
      // rows and ends itself while this waits; the system's own limit for
      // these events (a few seconds) still applies.
      Sleep(10000);
      return TRUE;
    default:
      return FALSE;
  }
}

#else

extern "C" void onInterrupt(int signal) { countInterrupt(signal); }

#endif

}  // namespace

#ifdef _WIN32

void installInterruptSignals() {
  // A program started with Ctrl-C ignored (as "start /b" does) gets it back.
  SetConsoleCtrlHandler(nullptr, FALSE);
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
  // Writes to a closed pipe fail with EINVAL/EPIPE and no signal here.
}

#else

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

#endif

int interruptCount() { return interrupts.load(std::memory_order_relaxed); }

int interruptSignal() { return firstSignal.load(std::memory_order_relaxed); }

}  // namespace gleaner::cli
