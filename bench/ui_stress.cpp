// Measures the main window while rows arrive, under a real X display, with
// the result store kept in a temporary folder as the program keeps it:
//  (a) 1,000,000 rows found through the window's run watcher from a worker thread,
//      as fast as it can make them: the time per append over the first and
//      over the last 10,000 rows (an append must cost the same at row 1 and
//      at row 1,000,000), and how long the store then needs to catch up;
//  (b) a buyers run against the sample site's busy item (100 buyers on every
//      review page), rows coming as fast as the site and the run allow, from
//      the press of collect to the run's end (its columns fitted, its end
//      message shown): the time to 5,000 rows and to the end.
// For each, the longest gap between two processed events of a 5 ms timer
// meanwhile (how long the window could not answer the user). Each part
// starts with a window that has settled: shown, drawn once, and nothing of
// an earlier window left to tear down.
//
//   xvfb-run -a build/bench/ui_stress [rows]
#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/MainDialog.h"
#include "app/MainWindowSession.h"
#include "app/ResultListView.h"
#include "app/TabPageHost.h"
#include "app/TemplatePage.h"
#include "engine/RunController.h"
#include "net/InternetClient.h"
#include "res/ControlIds.h"
#include "rules/BuiltinRuleServer.h"
#include "sample-site/SampleCatalog.h"
#include "sample-site/SampleSite.h"

namespace {

using namespace gleaner;
using Clock = std::chrono::steady_clock;
constexpr int kRunRows = 5000;
constexpr int kWindow = 10000;
int appendRows = 1000000;

long long ms(Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); }
double usPer(Clock::duration d, int n) {
  return std::chrono::duration<double, std::micro>(d).count() / n;
}

// Runs the event loop until done() holds, noting the longest gap between two
// ticks of a 5 ms timer.
Clock::duration longestGapUntil(const std::function<bool()>& done) {
  Clock::time_point last = Clock::now();
  Clock::duration longest{};
  wxTimer ticker;
  wxGUIEventLoop loop;
  ticker.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    const Clock::time_point now = Clock::now();
    longest = std::max(longest, now - last);
    last = now;
    if (done()) loop.ScheduleExit();
  });
  ticker.Start(5);
  loop.Run();
  ticker.Stop();
  return longest;
}

// Lets the window settle: pending events, drawing and idle work (such as an
// earlier window's deferred destruction) done.
void settle(int milliseconds) {
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
  while (Clock::now() < until) {
    wxTheApp->Yield(true);
    wxTheApp->ProcessIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Draws a Chinese row once, so that loading the fonts is not counted.
void warmUp(MainDialog& window) {
  window.runStarted({Job::Offers});
  window.rowFound({"\xBA\xCB\xCC\xD2", "merchant", "nick", "http://detail.1688.com/offer/1.html"}, 1);
  window.syncList();
  settle(500);
  window.deleteAll();
}

void measureDirectAppends(MainDialog& window) {
  warmUp(window);
  window.runStarted({Job::Offers});
  std::atomic<bool> finished{false};
  Clock::duration first{};
  Clock::duration last{};
  Clock::duration took{};
  std::thread worker([&] {
    const Clock::time_point start = Clock::now();
    Clock::time_point blockStart = start;
    for (int i = 1; i <= appendRows; ++i) {
      if (i == appendRows - kWindow + 1) blockStart = Clock::now();
      window.rowFound({"\xBA\xCB\xCC\xD2 " + std::to_string(i), "merchant\t", "nick", "http://detail.1688.com/offer/1.html"},
                      i);
      if (i == kWindow) first = Clock::now() - start;
      if (i == appendRows) last = Clock::now() - blockStart;
    }
    took = Clock::now() - start;
    finished = true;
  });
  const Clock::duration gap = longestGapUntil([&] { return finished.load(); });
  worker.join();
  const double firstUs = usPer(first, kWindow);
  const double lastUs = usPer(last, kWindow);
  std::printf("(a) %d appends from a worker: %lld ms in all\n", appendRows, ms(took));
  std::printf("    per append: first %d rows %.2f us, last %d rows %.2f us, ratio last/first %.2f\n", kWindow, firstUs,
              kWindow, lastUs, lastUs / firstUs);
  std::printf("    longest gap between 5 ms timer events: %lld ms\n", ms(gap));
  window.syncList();
  std::printf("    list shows %d rows; ", window.resultList().GetItemCount());
  std::fflush(stdout);
}

void measureBusyRun(MainDialog& window) {
  window.tabs().SetSelection(1);
  const std::string address = "http://item.taobao.com/item.htm?id=" + std::string(sample::kBusyItem);
  dynamic_cast<wxTextEntry*>(window.page(TabPage::ItemUrl).FindWindow(ids::kItemAddress))->SetValue(address);
  settle(1000);
  Clock::time_point start{};
  Clock::time_point fullAt{};
  // Collect is pressed inside the measured loop: its own handling counts.
  window.CallAfter([&] {
    start = Clock::now();
    window.collect();
  });
  const Clock::duration gap = longestGapUntil([&] {
    if (start == Clock::time_point{}) return false;
    if (window.resultList().GetItemCount() >= kRunRows && fullAt == Clock::time_point{}) fullAt = Clock::now();
    return window.collectButton().IsEnabled();
  });
  std::printf("(b) buyers run: %d rows after %lld ms, its end (%d rows) after %lld ms; longest gap between timer "
              "events: %lld ms\n",
              kRunRows, ms(fullAt - start), window.resultList().GetItemCount(), ms(Clock::now() - start), ms(gap));
}

class StressApp : public wxApp {
 public:
  bool OnInit() override {
    CallAfter([this] {
      run();
      ExitMainLoop();
    });
    return true;
  }

 private:
  void run() {
    sample::SampleSite site;
    site.start();
    InternetClient::setConnectTo(ConnectTo::parse(site.connectToList()));
    BuiltinRuleServer rules;
    rules.start();
    Sites sites;
    sites.ruleServer = rules.hostPort();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("gleaner-ui-stress-" + std::to_string(::getpid()));
    {
      MainWindowSession session(sites, folder / "results.sqlite");
      MainDialog& window = session.dialog();
      window.setMessagePresenter([](const wxString&) {});
      window.Show();
      measureDirectAppends(window);
      const Clock::time_point closing = Clock::now();
      session.shutDown();  // every row is in the store when this returns
      std::printf("store complete %lld ms after the last append\n", ms(Clock::now() - closing));
    }
    {
      MainWindowSession session(sites, folder / "results.sqlite");
      MainDialog& window = session.dialog();
      window.setMessagePresenter([](const wxString&) {});
      window.Show();
      measureBusyRun(window);
      session.shutDown();
    }
    std::filesystem::remove_all(folder);
    rules.stop();
    site.stop();
  }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(StressApp);

int main(int argc, char** argv) {
  if (argc > 1) appendRows = std::max(2 * kWindow, std::atoi(argv[1]));
  InternetClient::initialize();
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "no display: run it under xvfb-run\n");
    return 1;
  }
  if (wxTheApp->CallOnInit()) {
    wxTheApp->OnRun();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return 0;
}
