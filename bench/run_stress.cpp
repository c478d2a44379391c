// Measures the run machinery against the sample site on loopback:
//  (a) the overhead of a run: an offer run of 20 pages with pages small
//      enough that one page's download and extraction fit inside one tick,
//      against the floor the design sets (20 pages x 100 ms tick + 1 s end
//      wait);
//  (b) many consecutive runs in one process: threads and resident memory
//      after the last run against after the first.
//
//   build/bench/run_stress [runs]      (runs: 200 by default)
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
// windows.h first
#include <psapi.h>
#include <tlhelp32.h>
#endif

#include "engine/PauseSwitch.h"
#include "engine/RunController.h"
#include "engine/RunProgress.h"
#include "engine/RunWatcher.h"
#include "net/InternetClient.h"
#include "rules/BuiltinRuleServer.h"
#include "sample-site/SampleSite.h"

namespace {

using namespace gleaner;
using Clock = std::chrono::steady_clock;

#ifdef _WIN32
// The threads of this process, from a snapshot of the system's threads.
long threadCount() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  long count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    count += entry.th32OwnerProcessID == GetCurrentProcessId();
  }
  CloseHandle(snapshot);
  return count;
}

// Resident memory (the working set) in kB.
long residentKilobytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long>(counters.WorkingSetSize / 1024);
}
#else
// A value of /proc/self/status such as "Threads" or "VmRSS" (kB).
long procStatus(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
  }
  return -1;
}

long threadCount() { return procStatus("Threads"); }
long residentKilobytes() { return procStatus("VmRSS"); }
#endif

// Counts what the runs find; nothing else of them is kept.
class RowCounter : public RunWatcher {
 public:
  void runStarted(const RunStart&) override { rows_ = 0; }
  void progressChanged(const RunProgress&) override {}
  void rowFound(const ResultRow&, int) override { ++rows_; }
  void statusChanged(const std::string&) override {}
  void failureReported(const std::string&) override {}
  void runEnded(const RunOutcome&) override {}
  int rows() const { return rows_; }

 private:
  std::atomic<int> rows_{0};
};

RunRequest tinyOffers(int pages) {
  RunRequest request;
  request.job = Job::Offers;
  request.keyword = "tiny";
  request.pages = pages;
  return request;
}

double runOnce(RunController& controller, const RunRequest& request) {
  const auto start = Clock::now();
  if (!controller.collect(request)) return -1;
  while (controller.busy()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
  InternetClient::initialize();
  sample::SampleSite site;
  site.start();
  InternetClient::setConnectTo(ConnectTo::parse(site.connectToList()));
  BuiltinRuleServer rules;
  rules.start();
  Sites sites;
  sites.ruleServer = rules.hostPort();

  RowCounter counter;
  PauseSwitch pause;
  RunController controller(counter, sites, pause);

  const double floor = 20 * 0.100 + 1.0;
  const double wall = runOnce(controller, tinyOffers(20));
  std::printf("(a) offer run of 20 pages: %d rows, %.3f s against a floor of %.3f s: ratio %.3f\n",
              counter.rows(), wall, floor, wall / floor);

  runOnce(controller, tinyOffers(1));
  const long threadsAfterFirst = threadCount();
  const long rssAfterFirst = residentKilobytes();
  for (int i = 1; i < runs; ++i) runOnce(controller, tinyOffers(1));
  // Detached threads may still be between their last statement and their end.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const long threadsAfterLast = threadCount();
  const long rssAfterLast = residentKilobytes();
  std::printf("(b) %d runs: threads %ld after the first, %ld after the last; resident memory %ld kB after the "
              "first, %ld kB after the last (%+ld kB)\n",
              runs, threadsAfterFirst, threadsAfterLast, rssAfterFirst, rssAfterLast, rssAfterLast - rssAfterFirst);
  rules.stop();
  site.stop();
  const bool ok = wall > 0 && wall / floor < 1.10 && threadsAfterLast <= threadsAfterFirst && rssAfterLast - rssAfterFirst < 5 * 1024;
  return ok ? 0 : 1;
}
