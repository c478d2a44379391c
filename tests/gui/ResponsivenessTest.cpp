// Measures, without judging: how long the event loop can go without handling
// a timer while a worker appends 5,000 rows through the window interface,
// and how long the 5,000 appends take. The numbers go to the test's output
// and its XML properties.
#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/listctrl.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "MainWindowFixture.h"

namespace gleaner::testing {
namespace {

using Measurement = MainWindowFixture;
using Clock = std::chrono::steady_clock;

TEST_F(Measurement, FiveThousandAppendsFromAWorker) {
  constexpr int kRows = 5000;
  bool columnsSet = false;
  std::thread([&] {
    window->setJobColumns(CollectionMode::OfferSearch);
    columnsSet = true;
  }).detach();
  ASSERT_TRUE(pumpUntil([&] { return columnsSet; }));

  Clock::time_point lastTick = Clock::now();
  Clock::duration longestGap{};
  std::atomic<bool> appending{true};
  wxTimer ticker;
  ticker.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    const Clock::time_point now = Clock::now();
    if (appending) longestGap = std::max(longestGap, now - lastTick);
    lastTick = now;
  });
  ticker.Start(5);

  Clock::duration appendTime{};
  wxGUIEventLoop loop;
  std::thread worker([&] {
    const Clock::time_point start = Clock::now();
    for (int i = 1; i <= kRows; ++i) {
      window->appendRow({"\xBA\xCB\xCC\xD2 " + std::to_string(i), "merchant", "nick", "http://detail.1688.com/offer/1.html"},
                        std::to_string(i));
    }
    appendTime = Clock::now() - start;
    appending = false;
    wxTheApp->CallAfter([&loop] { loop.ScheduleExit(); });
  });
  loop.Run();  // an event loop as a modal window runs it
  worker.join();
  ticker.Stop();

  EXPECT_EQ(window->resultList().GetItemCount(), kRows);
  const auto ms = [](Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); };
  std::printf("5000 appends: %lld ms; longest gap between timer events: %lld ms\n",
              static_cast<long long>(ms(appendTime)), static_cast<long long>(ms(longestGap)));
  RecordProperty("append_5000_ms", static_cast<int>(ms(appendTime)));
  RecordProperty("longest_timer_gap_ms", static_cast<int>(ms(longestGap)));
}

}  // namespace
}  // namespace gleaner::testing
