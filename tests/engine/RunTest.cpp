// Whole runs through the run controller against a loopback server whose
// rules match nothing: these tests watch the walk itself (addresses asked
// for, pause, stop, end, lifetime), not the rows. The server sees request
// targets as sent, "#beginPage=N" included.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/MainThread.h"
#include "engine/MemoryWindow.h"
#include "engine/ProcessValues.h"
#include "engine/RunController.h"
#include "sample-site/RawTargetServer.h"
#include "support/LoopbackServer.h"
#include "support/WaitFor.h"
#include "text/HealthTexts.h"
#include "text/Literals.h"

namespace gleaner {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class RunTest : public ::testing::Test {
 protected:
  RunTest()
      : server_([this](httplib::Server& s) {
          s.Get(R"(/files/.*)", [this](const httplib::Request&, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            if (rule_.empty()) {
              res.status = 404;
              return;
            }
            res.set_content(rule_, "text/plain");
          });
          s.Get(R"(.*)", [this](const httplib::Request& req, httplib::Response& res) { answer(req, res); });
        }) {
    PauseRequested = false;
    sites_.offerSearchHost = sites_.offerDetailHost = sites_.taobaoSearchHost = sites_.ratingHost =
        sites_.itemHost = sites_.ruleServer = server_.hostPort();
    window_ = std::make_unique<MemoryWindow>(sites_.itemHost);
  }
  ~RunTest() override {
    controller_.reset();
    PauseRequested = false;
  }

  void answer(const httplib::Request&, httplib::Response& res) {
    std::chrono::milliseconds delay{0};
    int failFrom = 0;
    {
      std::lock_guard lock(mutex_);
      targets_.push_back(sample::RawTargetServer::currentRawTarget());
      delay = delay_;
      failFrom = failFromRequest_;
      if (failFrom > 0 && static_cast<int>(targets_.size()) >= failFrom) {
        res.status = 404;
        return;
      }
    }
    std::this_thread::sleep_for(delay);
    res.set_content(body_, "text/html");
  }

  RunController& controller() {
    if (!controller_) controller_ = std::make_unique<RunController>(*window_, sites_);
    return *controller_;
  }

  // Starts a run and waits until all its threads have ended.
  void runToTheEnd() {
    controller().collect();
    waitUntilIdle();
  }
  void waitUntilIdle() {
    ASSERT_TRUE(testing::waitFor([&] { return !controller().busy(); }, 60s)) << "the run did not end";
  }
  template <typename Predicate>
  bool waitFor(Predicate predicate, std::chrono::milliseconds limit = 20s) {
    return testing::waitFor(predicate, limit);
  }

  std::vector<std::string> targets() {
    std::lock_guard lock(mutex_);
    return targets_;
  }
  void setDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
  }
  void failFromRequest(int n) {
    std::lock_guard lock(mutex_);
    failFromRequest_ = n;
  }
  // The "正在采集第%d页" lines among the status lines.
  std::vector<std::string> collectingLines() {
    std::vector<std::string> lines;
    for (const auto& line : window_->statusHistory()) {
      if (line.rfind(literals::kCollectingPagePrefix, 0) == 0) lines.push_back(line);
    }
    return lines;
  }
  std::vector<std::string> finishedMessages() {
    std::vector<std::string> found;
    for (const auto& m : window_->messages()) {
      if (m == literals::kRunFinished) found.push_back(m);
    }
    return found;
  }

  std::string body_ = "<html><body>nothing to find</body></html>";
  std::string rule_ = "(never-in-any-page)";  // every rule file; empty: none there
  testing::BasicLoopbackServer<sample::RawTargetServer> server_;
  Sites sites_;
  std::unique_ptr<MemoryWindow> window_;
  std::unique_ptr<RunController> controller_;
  std::mutex mutex_;
  std::vector<std::string> targets_;
  std::chrono::milliseconds delay_{0};
  int failFromRequest_ = 0;
};

const std::string kOfferPath =
    "/selloffer/offer_search.htm?keywords=abc&sortType=normal&button_click=top&earseDirect=false&n=y#beginPage=";

// A run of N pages asks for pages 1 to N, each once: the first address is
// page 1 already. The rule matches nothing, and the empty-result marker (the
// same rule here) does not call the pages empty: from the second page on,
// the status line names the rule; the run ends on its summary and that warning.
TEST_F(RunTest, OfferRunAsksForEachPageOnce) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  window_->setControlText(TabPage::Search, ids::kSearchPages, "3");
  runToTheEnd();
  EXPECT_EQ(targets(), (std::vector<std::string>{kOfferPath + "1", kOfferPath + "2", kOfferPath + "3"}));
  const std::string summary = literals::runSummary({3, 0, 3, 0, 0});
  EXPECT_EQ(window_->statusHistory(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2),
                                      literals::ruleMayBeBroken(2, "ExtractTextAImg"), literals::collectingPage(3),
                                      literals::ruleMayBeBroken(3, "ExtractTextAImg"),
                                      literals::endOfRunLine(summary, literals::ruleMayBeBroken(3, "ExtractTextAImg"))}));
  EXPECT_EQ(finishedMessages().size(), 1u);
  EXPECT_TRUE(window_->collectEnabled());
  EXPECT_EQ(window_->columns(), CollectionMode::OfferSearch);
  EXPECT_EQ(controller().latestSummary()->pagesDownloaded, 3);
  EXPECT_EQ(controller().latestSummary()->extractionsFailed, 0);
}

TEST_F(RunTest, OfferRunWithoutPagesDownloadsOnlyTheFirstAddress) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  for (const char* pages : {"1", "0", "-3", "x"}) {
    window_->setControlText(TabPage::Search, ids::kSearchPages, pages);
    const std::size_t before = targets().size();
    runToTheEnd();
    EXPECT_EQ(targets().size(), before + 1) << pages;
  }
}

// The first address is offset 0; each next page replaces the offset.
TEST_F(RunTest, SellerRunAsksForEachPageOnceWithOneOffset) {
  window_->selectTab(2);
  window_->setControlText(TabPage::SellerSearch, ids::kSellerKeyword, "abc");
  window_->setControlText(TabPage::SellerSearch, ids::kSellerPages, "3");
  runToTheEnd();
  EXPECT_EQ(targets(), (std::vector<std::string>{"/search?&q=abc", "/search?&q=abc&s=40", "/search?&q=abc&s=80"}));
  EXPECT_EQ(window_->columns(), CollectionMode::SellerSearch);
  EXPECT_EQ(collectingLines().size(), 3u);

  // One page, or an empty page count (0 pages): the run still goes ahead
  // with its first page.
  for (const char* pages : {"1", ""}) {
    window_->setControlText(TabPage::SellerSearch, ids::kSellerPages, pages);
    const std::size_t before = targets().size();
    runToTheEnd();
    EXPECT_EQ(targets().size(), before + 1) << pages;
  }
}

TEST_F(RunTest, RefusedRunChangesNothingButTheClearedList) {
  window_->appendRow({"a", "b", "c", "d"}, "1");
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "");
  window_->setControlText(TabPage::Search, ids::kSearchPages, "");
  runToTheEnd();
  EXPECT_EQ(window_->messages(), (std::vector<std::string>{std::string(literals::kFillKeyword)}));
  EXPECT_TRUE(window_->rows().empty());
  EXPECT_EQ(window_->columns(), CollectionMode::OfferSearch);
  EXPECT_TRUE(window_->collectEnabled());
  EXPECT_TRUE(targets().empty());
  EXPECT_EQ(controller().latestSummary()->outcome, RunSummary::Outcome::Refused);

  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  runToTheEnd();
  EXPECT_EQ(window_->messages().back(), literals::kFillPageCount);
  // Stop after a refused run finds no run and touches nothing.
  controller().stop();
  EXPECT_TRUE(targets().empty());
}

TEST_F(RunTest, AFailedPageEndsTheWalk) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  window_->setControlText(TabPage::Search, ids::kSearchPages, "10");
  failFromRequest(3);
  runToTheEnd();
  EXPECT_EQ(targets().size(), 3u);
  ASSERT_FALSE(window_->reports().empty());
  const std::string failed = "http://" + server_.hostPort() + kOfferPath + "3" + "\r\nDownload failed!\r\n";
  EXPECT_EQ(window_->reports().back().substr(0, failed.size()), failed);
  EXPECT_EQ(finishedMessages().size(), 1u);
  EXPECT_TRUE(window_->collectEnabled());
}

TEST_F(RunTest, PauseBeforeCollectLetsTheFirstPageThroughAndHoldsTheSecond) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  window_->setControlText(TabPage::Search, ids::kSearchPages, "2");
  controller().togglePause();
  EXPECT_TRUE(PauseRequested);
  controller().collect();
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(targets().size(), 1u);
  EXPECT_TRUE(controller().busy());
  EXPECT_FALSE(window_->collectEnabled());
  controller().togglePause();
  waitUntilIdle();
  EXPECT_EQ(targets().size(), 2u);
  EXPECT_EQ(finishedMessages().size(), 1u);
}

// Stop ends the run loop at once and the page in flight with it: its download
// is dropped without a report, the end message follows after the usual
// second, and no thread of the run is left waiting for the slow server.
TEST_F(RunTest, StopDuringASlowPageEndsTheRunAndDropsThePage) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  setDelay(5000ms);
  controller().collect();
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  const auto stoppedAt = Clock::now();
  controller().stop();
  ASSERT_TRUE(waitFor([&] { return !finishedMessages().empty(); }, 5s));
  const auto endShown = Clock::now() - stoppedAt;
  EXPECT_GE(endShown, 900ms);
  EXPECT_LE(endShown, 1600ms);
  EXPECT_TRUE(window_->collectEnabled());
  waitUntilIdle();
  EXPECT_LT(Clock::now() - stoppedAt, 2500ms);
  // Only the summary: no page was read.
  EXPECT_EQ(window_->statusHistory(), std::vector<std::string>{literals::runSummary({})});
  EXPECT_TRUE(window_->reports().empty());
  EXPECT_EQ(targets().size(), 1u);
}

// The item page of a buyers run hangs: stop ends the run like any other,
// without the item page's failure message.
TEST_F(RunTest, StopWhileTheItemPageIsOnItsWayEndsTheRun) {
  window_->selectTab(1);
  setDelay(5000ms);
  controller().collect();
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  const auto stoppedAt = Clock::now();
  controller().stop();
  waitUntilIdle();
  EXPECT_LT(Clock::now() - stoppedAt, 2500ms);
  EXPECT_EQ(window_->messages(), (std::vector<std::string>{std::string(literals::kRunFinished)}));
  EXPECT_TRUE(window_->reports().empty());
  EXPECT_TRUE(window_->collectEnabled());
  EXPECT_EQ(targets().size(), 1u);
}

TEST_F(RunTest, ShutdownDuringASlowPageEndsEveryThreadQuickly) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  setDelay(5000ms);
  controller().collect();
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  const auto start = Clock::now();
  EXPECT_TRUE(controller().shutdown({}, 10s));
  EXPECT_LT(Clock::now() - start, 2s);
  EXPECT_FALSE(controller().busy());
}

TEST_F(RunTest, BuyersRunWhoseItemPageCannotBeDownloadedEndsWithAMessage) {
  window_->selectTab(1);
  window_->setControlText(TabPage::ItemUrl, ids::kItemAddress, "");
  runToTheEnd();
  ASSERT_EQ(window_->messages().size(), 1u);
  EXPECT_EQ(window_->messages()[0].rfind(literals::kItemPageFailed, 0), 0u);
  EXPECT_TRUE(window_->collectEnabled());
  EXPECT_EQ(controller().latestSummary()->outcome, RunSummary::Outcome::ItemPageFailed);
  EXPECT_TRUE(targets().empty());
}

TEST_F(RunTest, BuyersRunWalksOneHundredAndTwoReviewPages) {
  window_->selectTab(1);
  body_ = "<title>Item</title><div data-reviewApi=\"http://" + server_.hostPort() +
          "/detail_rate.htm?userNumId=1&auctionNumId=2&currentPage=1&ismore=0\"></div>";
  runToTheEnd();
  const auto asked = targets();
  ASSERT_EQ(asked.size(), 103u);  // the item page, then 102 review pages
  EXPECT_EQ(asked[1], "/detail_rate.htm?userNumId=1&auctionNumId=2&currentPage=1");
  EXPECT_EQ(asked[2], "/detail_rate.htm?userNumId=1&auctionNumId=2&currentPage=2");
  EXPECT_EQ(asked[102], "/detail_rate.htm?userNumId=1&auctionNumId=2&currentPage=102");
  EXPECT_EQ(window_->runFields().itemTitle(), "Item\t\r\n");
}

TEST_F(RunTest, NoJobTabEndsTheRunAtItsEmptyFirstAddress) {
  window_->selectTab(3);
  runToTheEnd();
  EXPECT_EQ(finishedMessages().size(), 1u);
  EXPECT_TRUE(targets().empty());
  ASSERT_EQ(window_->reports().size(), 1u);
  EXPECT_EQ(window_->reports()[0].rfind("\r\nDownload failed!\r\n", 0), 0u);
}

// The job and the settings a run read at its start are the run's: clicking
// another tab (the help tab included) or editing a box while it walks changes
// neither the extractor of its pages nor its walk.
TEST_F(RunTest, TabsClickedAndBoxesEditedDuringARunChangeNothingOfIt) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  window_->setControlText(TabPage::Search, ids::kSearchPages, "3");
  controller().togglePause();
  controller().collect();
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  for (int tab : {3, 1, 2}) window_->selectTab(tab);
  window_->setControlText(TabPage::Search, ids::kSearchPages, "1");
  controller().togglePause();
  waitUntilIdle();
  EXPECT_EQ(targets(), (std::vector<std::string>{kOfferPath + "1", kOfferPath + "2", kOfferPath + "3"}));
  EXPECT_EQ(collectingLines().size(), 3u);
  EXPECT_EQ(window_->columns(), CollectionMode::OfferSearch);
  EXPECT_EQ(controller().latestSummary()->pagesDownloaded, 3);
}

// A seller page of 2,000 records keeps its worker for the 500 ms pause after
// each: over 16 minutes. Stop wakes the pause; the run and every thread of it
// end within about a second, and nothing more is queued.
TEST_F(RunTest, StopEndsASellerRunOfThousandsOfRecordsWithinASecond) {
  rule_ = "<i>([^<]*)</i>";
  body_.clear();
  for (int i = 0; i < 2000; ++i) body_ += "<i>product " + std::to_string(i) + "</i>\n";
  window_->selectTab(2);
  window_->setControlText(TabPage::SellerSearch, ids::kSellerKeyword, "abc");
  window_->setControlText(TabPage::SellerSearch, ids::kSellerPages, "5");
  controller().collect();
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  std::this_thread::sleep_for(1500ms);  // a few records and pauses into the page
  const auto stoppedAt = Clock::now();
  controller().stop();
  waitUntilIdle();
  EXPECT_LT(Clock::now() - stoppedAt, 2500ms);
  EXPECT_EQ(finishedMessages().size(), 1u);
  EXPECT_EQ(targets().size(), 1u) << "a stopped run queues no next page";
}

TEST_F(RunTest, ClosingDuringTheSellerPauseEndsEveryThreadAtOnce) {
  rule_ = "<i>([^<]*)</i>";
  body_.clear();
  for (int i = 0; i < 2000; ++i) body_ += "<i>product " + std::to_string(i) + "</i>\n";
  window_->selectTab(2);
  controller().collect();
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  std::this_thread::sleep_for(700ms);
  const auto start = Clock::now();
  EXPECT_TRUE(controller().shutdown({}, 10s));
  EXPECT_LT(Clock::now() - start, 1500ms);
}

TEST_F(RunTest, TheSummaryCountsPagesWhoseExtractionFailed) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  window_->setControlText(TabPage::Search, ids::kSearchPages, "2");
  rule_.clear();  // every rule file missing
  runToTheEnd();
  EXPECT_EQ(controller().latestSummary()->pagesDownloaded, 2);
  EXPECT_EQ(controller().latestSummary()->extractionsFailed, 2);
  rule_ = "(never-in-any-page)";  // rules that work and find nothing
  runToTheEnd();
  EXPECT_EQ(controller().latestSummary()->pagesDownloaded, 2);
  EXPECT_EQ(controller().latestSummary()->extractionsFailed, 0);
}

TEST_F(RunTest, ManyRunsOneAfterAnotherLeaveNoThreadBehind) {
  window_->setControlText(TabPage::Search, ids::kSearchKeyword, "abc");
  window_->setControlText(TabPage::Search, ids::kSearchPages, "0");
  for (int i = 0; i < 5; ++i) runToTheEnd();
  EXPECT_EQ(finishedMessages().size(), 5u);
  EXPECT_EQ(targets().size(), 5u);
}

}  // namespace
}  // namespace gleaner
