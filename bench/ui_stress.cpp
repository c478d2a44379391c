// Measures the main window while rows arrive, under a real X display:
//  (a) 5,000 appends through the window interface from a worker thread, as
//      fast as it can make them;
//  (b) a buyers run against the sample site's busy item (100 buyers on every
//      review page), rows coming as fast as the site and the run allow.
// For each: the time to append 5,000 rows, and the longest gap between two
// processed events of a 5 ms timer meanwhile (how long the window could not
// answer the user).
//
//   xvfb-run -a build/bench/ui_stress
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/MainDialog.h"
#include "app/MainWindowSession.h"
#include "app/TabPageHost.h"
#include "app/TemplatePage.h"
#include "engine/RunController.h"
#include "net/InternetClient.h"
#include "rules/BuiltinRuleServer.h"
#include "sample-site/SampleCatalog.h"
#include "sample-site/SampleSite.h"

namespace {

using namespace gleaner;
using Clock = std::chrono::steady_clock;
constexpr int kRows = 5000;

long long ms(Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); }

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

void measureDirectAppends(MainDialog& window) {
  window.setJobColumns(CollectionMode::OfferSearch);
  std::atomic<bool> finished{false};
  Clock::duration took{};
  std::thread worker([&] {
    const Clock::time_point start = Clock::now();
    for (int i = 1; i <= kRows; ++i) {
      window.appendRow({"\xBA\xCB\xCC\xD2 " + std::to_string(i), "merchant\t", "nick", "http://detail.1688.com/offer/1.html"},
                       std::to_string(i));
    }
    took = Clock::now() - start;
    finished = true;
  });
  const Clock::duration gap = longestGapUntil([&] { return finished.load(); });
  worker.join();
  std::printf("(a) 5000 appends from a worker: %lld ms; longest gap between timer events: %lld ms\n", ms(took), ms(gap));
}

void measureBusyRun(MainDialog& window) {
  window.tabs().SetSelection(1);
  const std::string address = "http://item.taobao.com/item.htm?id=" + std::string(sample::kBusyItem);
  dynamic_cast<wxTextEntry*>(window.page(TabPage::ItemUrl).FindWindow(ids::kItemAddress))->SetValue(address);
  window.deleteAll();
  const Clock::time_point start = Clock::now();
  Clock::time_point fullAt{};
  window.collect();
  const Clock::duration gap = longestGapUntil([&] {
    if (window.resultList().GetItemCount() >= kRows && fullAt == Clock::time_point{}) fullAt = Clock::now();
    return fullAt != Clock::time_point{};
  });
  std::printf("(b) buyers run: %d rows after %lld ms; longest gap between timer events: %lld ms\n",
              window.resultList().GetItemCount(), ms(fullAt - start), ms(gap));
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
    {
      MainWindowSession session(sites);
      MainDialog& window = session.dialog();
      window.setMessagePresenter([](const wxString&) {});
      window.Show();
      measureDirectAppends(window);
      measureBusyRun(window);
      session.shutDown();
    }
    rules.stop();
    site.stop();
  }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(StressApp);

int main(int argc, char** argv) {
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
