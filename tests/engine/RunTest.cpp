// Whole runs through the run controller against one loopback server that
// stands in for every site and the rule server: the walk (addresses asked
// for, pause, stop, end, lifetime) and the outcome each way a run can end.
// The server sees request targets as sent, "#beginPage=N" included.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "engine/PauseSwitch.h"
#include "engine/Run.h"
#include "engine/RunController.h"
#include "sample-site/RawTargetServer.h"
#include "support/LoopbackServer.h"
#include "support/RecordingWatcher.h"
#include "support/WaitFor.h"
#include "text/GbkConvert.h"
#include "text/HealthTexts.h"
#include "text/Literals.h"
#include "text/OutcomeTexts.h"

namespace gleaner {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kOfferPath =
    "/selloffer/offer_search.htm?keywords=abc&sortType=normal&button_click=top&earseDirect=false&n=y#beginPage=";
const std::string kOfferList = "/files/ali/ExtractTextAImg.txt";
const std::string kOfferDetail = "/files/ali/ExtractTextAImg01.txt";
const std::string kOfferEmpty = "/files/ali/EmptyOfferSearch.txt";

class RunTest : public ::testing::Test {
 protected:
  RunTest()
      : server_([this](httplib::Server& s) {
          s.Get(R"(.*)", [this](const httplib::Request& req, httplib::Response& res) { answer(req, res); });
        }) {
    sites_.offerSearchHost = sites_.offerDetailHost = sites_.taobaoSearchHost = sites_.ratingHost =
        sites_.itemHost = sites_.ruleServer = server_.hostPort();
  }
  ~RunTest() override {
    controller_.reset();
    serve([&] { closing_ = true; });
    released_.notify_all();  // slow answers end with the test
  }

  void answer(const httplib::Request& req, httplib::Response& res) {
    std::chrono::milliseconds delay{0};
    std::string body;
    {
      std::lock_guard lock(mutex_);
      if (req.path.rfind("/files/", 0) == 0) {
        const auto rule = rules_.find(req.path);
        const std::string pattern = rule != rules_.end() ? rule->second : defaultRule_;
        if (pattern.empty()) {
          res.status = 404;
        } else {
          res.set_content(pattern, "text/plain");
        }
        return;
      }
      targets_.push_back(sample::RawTargetServer::currentRawTarget());
      if (failFromRequest_ > 0 && static_cast<int>(targets_.size()) >= failFromRequest_) {
        res.status = 404;
        return;
      }
      if (broken_.count(req.path) != 0) {
        // The connection closes half-way through the announced body.
        res.set_content_provider(4096, "text/html", [](std::size_t, std::size_t, httplib::DataSink& sink) {
          sink.write("<html>", 6);
          return false;
        });
        return;
      }
      delay = req.path.rfind("/offer/", 0) == 0 ? lookupDelay_ : delay_;
      body = body_;
    }
    {
      std::unique_lock lock(mutex_);
      released_.wait_for(lock, delay, [&] { return closing_; });
    }
    res.set_content(body, "text/html");
  }

  RunController& controller() {
    if (!controller_) controller_ = std::make_unique<RunController>(watcher_, sites_, pause_);
    return *controller_;
  }
  RunRequest offers(int pages) {
    RunRequest request;
    request.job = Job::Offers;
    request.keyword = "abc";
    request.pages = pages;
    return request;
  }
  RunRequest sellers(int pages) {
    RunRequest request = offers(pages);
    request.job = Job::Sellers;
    request.levelFilter = std::string(literals::kAllCreditLevels);
    return request;
  }
  RunRequest buyers(std::string address) {
    RunRequest request;
    request.job = Job::Buyers;
    request.itemAddress = std::move(address);
    return request;
  }
  std::string itemAddress() const { return "http://" + server_.hostPort() + "/item.htm?id=1"; }

  // Runs request until all its threads have ended; its outcome.
  RunOutcome runToTheEnd(const RunRequest& request) {
    EXPECT_TRUE(controller().collect(request));
    waitUntilIdle();
    const auto outcome = watcher_.lastOutcome();
    EXPECT_TRUE(outcome) << "every run ends with an outcome";
    return outcome.value_or(RunOutcome{});
  }
  void waitUntilIdle() {
    ASSERT_TRUE(testing::waitFor([&] { return !controller().busy(); }, 60s)) << "the run did not end";
  }
  bool waitFor(const std::function<bool()>& predicate, std::chrono::milliseconds limit = 20s) {
    return testing::waitFor(predicate, limit);
  }
  bool statusShown(const std::string& line) {
    const auto status = watcher_.status();
    return std::find(status.begin(), status.end(), line) != status.end();
  }

  std::vector<std::string> targets() {
    std::lock_guard lock(mutex_);
    return targets_;
  }
  // Changes what the server does, under its lock.
  template <typename Change>
  void serve(Change change) {
    std::lock_guard lock(mutex_);
    change();
  }
  // A page with offers whose rows the rules below cut out: merchant "m<i>",
  // member "b<i>", offer "o<i>", and an offer page whose product is "Shoe".
  void serveOffers(int count) {
    std::lock_guard lock(mutex_);
    body_ = "<h1>Shoe</h1>";
    for (int i = 1; i <= count; ++i) {
      const std::string n = std::to_string(i);
      body_ += "<a offerid=\"o" + n + "\" memberid=\"b" + n + "\">m" + n + "</a>\n";
    }
    rules_[kOfferList] = "<a (offerid=\"[^\"]*\") (memberid=\"[^\"]*\")>([^<]*)</a>";
    rules_[kOfferDetail] = "<h1>([^<]*)</h1>";
  }

  std::string body_ = "<html><body>nothing to find</body></html>";
  std::string defaultRule_ = "(never-in-any-page)";  // every rule file but those of rules_; empty: none there
  std::map<std::string, std::string> rules_;
  std::set<std::string> broken_;
  testing::BasicLoopbackServer<sample::RawTargetServer> server_;
  Sites sites_;
  testing::RecordingWatcher watcher_;
  PauseSwitch pause_;
  std::unique_ptr<RunController> controller_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool closing_ = false;
  std::vector<std::string> targets_;
  std::chrono::milliseconds delay_{0};
  std::chrono::milliseconds lookupDelay_{0};
  int failFromRequest_ = 0;
};

// A run of N pages asks for pages 1 to N, each once: the first address is
// page 1 already. The rule matches nothing, and the empty-result marker (the
// same rule here) does not call the pages empty: from the second page on,
// the status line names the rule; the run ends on its summary and that warning.
TEST_F(RunTest, OfferRunAsksForEachPageOnceAndFinishes) {
  const RunOutcome outcome = runToTheEnd(offers(3));
  EXPECT_EQ(targets(), (std::vector<std::string>{kOfferPath + "1", kOfferPath + "2", kOfferPath + "3"}));
  EXPECT_EQ(watcher_.status(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2),
                                      literals::ruleMayBeBroken(2, "ExtractTextAImg"), literals::collectingPage(3),
                                      literals::ruleMayBeBroken(3, "ExtractTextAImg")}));
  EXPECT_EQ(outcome.kind, OutcomeKind::Finished);
  EXPECT_EQ(outcome.statusLine, literals::endOfRunLine(literals::runSummary({3, 0, 3, 0, 0}),
                                                       literals::ruleMayBeBroken(3, "ExtractTextAImg")));
  EXPECT_EQ(outcome.message, literals::kRunFinished);
  EXPECT_FALSE(outcome.failed());
  EXPECT_EQ(outcome.pagesDownloaded, 3);
  EXPECT_EQ(watcher_.jobs(), std::vector<Job>{Job::Offers});

  for (const int pages : {1, 0, -3}) {
    const std::size_t before = targets().size();
    runToTheEnd(offers(pages));
    EXPECT_EQ(targets().size(), before + 1) << pages << " pages: the first page only";
  }
}

// The first address is offset 0; each next page replaces the offset.
TEST_F(RunTest, SellerRunAsksForEachPageOnceWithOneOffset) {
  runToTheEnd(sellers(3));
  EXPECT_EQ(targets(), (std::vector<std::string>{"/search?&q=abc", "/search?&q=abc&s=40", "/search?&q=abc&s=80"}));
  EXPECT_EQ(watcher_.jobs(), std::vector<Job>{Job::Sellers});
}

TEST_F(RunTest, RowsComeWithTheCountOfTheRun) {
  serveOffers(3);
  const RunOutcome outcome = runToTheEnd(offers(1));
  const std::string address = "http://" + server_.hostPort() + "/offer/o2.html";
  ASSERT_EQ(watcher_.rows().size(), 3u);
  EXPECT_EQ(watcher_.rows()[1], (ResultRow{"Shoe\t", "m2\t", "b2", address}));
  EXPECT_EQ(watcher_.counts(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(outcome.health.counts.rows, 3);
}

// One offer page that cannot be had costs its row the product name, not
// the rest of the page: the row is kept, the page goes on, and the summary
// names the failure.
TEST_F(RunTest, AFailedOfferPageCostsOnlyItsProductName) {
  serveOffers(3);
  serve([&] { broken_.insert("/offer/o2.html"); });
  const RunOutcome outcome = runToTheEnd(offers(1));
  const auto rows = watcher_.rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][0], "Shoe\t");
  EXPECT_EQ(rows[1], (ResultRow{"", "m2\t", "b2", "http://" + server_.hostPort() + "/offer/o2.html"}));
  EXPECT_EQ(rows[2][0], "Shoe\t");
  EXPECT_EQ(outcome.kind, OutcomeKind::Finished);
  EXPECT_EQ(outcome.health.counts.lookupsFailed, 1);
  EXPECT_NE(outcome.statusLine.find(literals::lookupsFailedPart(1)), std::string::npos);
  ASSERT_EQ(watcher_.reports().size(), 1u);
  EXPECT_EQ(watcher_.reports()[0].rfind("http://" + server_.hostPort() + "/offer/o2.html\r\nDownload failed!\r\n", 0), 0u);
}

// A page after the first that fails ends the walk; the outcome names it.
TEST_F(RunTest, AFailedPageEndsTheWalkAndTheOutcomeSaysWhich) {
  serve([&] { failFromRequest_ = 3; });
  const RunOutcome outcome = runToTheEnd(offers(10));
  EXPECT_EQ(targets().size(), 3u);
  EXPECT_EQ(outcome.kind, OutcomeKind::PageFailed);
  ASSERT_TRUE(outcome.failedPage);
  EXPECT_EQ(outcome.failedPage->number, 3);
  EXPECT_EQ(outcome.failedPage->address, "http://" + server_.hostPort() + kOfferPath + "3");
  EXPECT_EQ(outcome.failedPage->reason, "HTTP 404");
  EXPECT_EQ(outcome.statusLine.rfind(literals::pageFailedOpening(3, "HTTP 404"), 0), 0u);
  EXPECT_EQ(gbk::toUtf8(literals::pageFailedOpening(3, "HTTP 404")), "第3页下载失败（HTTP 404），采集到第2页为止");
  EXPECT_TRUE(outcome.failed());
  EXPECT_EQ(outcome.message.rfind(literals::pageFailedMessage(3, "HTTP 404", 0), 0), 0u);
  EXPECT_EQ(outcome.pagesDownloaded, 2);
}

TEST_F(RunTest, AFirstPageThatCannotBeHadIsNothingDownloaded) {
  sites_.offerSearchHost = "127.0.0.1:1";
  const RunOutcome outcome = runToTheEnd(offers(3));
  EXPECT_EQ(outcome.kind, OutcomeKind::NothingDownloaded);
  ASSERT_TRUE(outcome.failedPage);
  EXPECT_EQ(outcome.failedPage->number, 1);
  EXPECT_EQ(gbk::toUtf8(outcome.failedPage->reason), "无法连接服务器");
  EXPECT_EQ(gbk::toUtf8(outcome.statusLine).rfind("第1页下载失败（无法连接服务器），没有采集到任何页面：", 0), 0u);
  EXPECT_EQ(gbk::toUtf8(outcome.message).rfind("没有下载到任何页面", 0), 0u);
}

// The site says its results end: the walk asks for no further page.
TEST_F(RunTest, APageTheMarkerCallsEmptyEndsTheWalk) {
  serve([&] { rules_[kOfferEmpty] = "nothing to find"; });
  const RunOutcome outcome = runToTheEnd(offers(5));
  EXPECT_EQ(targets().size(), 1u);
  EXPECT_EQ(outcome.kind, OutcomeKind::ResultsEnded);
  EXPECT_EQ(outcome.resultsEndedAt, 1);
  EXPECT_EQ(outcome.statusLine.rfind(literals::resultsEndedOpening(1, false), 0), 0u);
  EXPECT_EQ(outcome.message, literals::kRunFinished);
}

TEST_F(RunTest, EveryExtractionFailedIsAnOutcomeOfItsOwn) {
  serve([&] { defaultRule_.clear(); });  // every rule file missing
  RunOutcome outcome = runToTheEnd(offers(2));
  EXPECT_EQ(outcome.kind, OutcomeKind::ExtractionsFailed);
  EXPECT_EQ(outcome.pagesDownloaded, 2);
  EXPECT_EQ(outcome.extractionsFailed, 2);
  EXPECT_EQ(outcome.message, literals::extractionsFailedMessage(0));
}

TEST_F(RunTest, PauseBeforeCollectLetsTheFirstPageThroughAndHoldsTheSecond) {
  pause_.toggle();
  controller().collect(offers(2));
  ASSERT_TRUE(waitFor([&] { return statusShown(literals::collectingPage(1)); }));
  EXPECT_FALSE(waitFor([&] { return targets().size() > 1; }, 500ms)) << "a pause holds the walk";
  EXPECT_TRUE(controller().busy());
  EXPECT_TRUE(watcher_.outcomes().empty());
  pause_.toggle();
  waitUntilIdle();
  EXPECT_EQ(targets().size(), 2u);
  EXPECT_EQ(watcher_.lastOutcome()->kind, OutcomeKind::Finished);
}

// Stop ends the walk at once and the page in flight with it: its download
// is dropped without a report, the end follows a second later, and no
// thread of the run is left waiting for the slow server.
TEST_F(RunTest, StopDuringASlowPageEndsTheRunAndDropsThePage) {
  serve([&] { delay_ = 5000ms; });
  controller().collect(offers(3));
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  const auto stoppedAt = Clock::now();
  controller().stop();
  waitUntilIdle();
  EXPECT_LT(Clock::now() - stoppedAt, 2500ms);
  const RunOutcome outcome = *watcher_.lastOutcome();
  EXPECT_EQ(outcome.kind, OutcomeKind::Stopped);
  EXPECT_EQ(outcome.statusLine, literals::openedLine(literals::stoppedOpening(), literals::runSummary({})));
  EXPECT_EQ(outcome.message, literals::kRunFinished);
  EXPECT_TRUE(watcher_.status().empty()) << "no page was read";
  EXPECT_TRUE(watcher_.reports().empty());
  EXPECT_EQ(targets().size(), 1u);
}

// A stop while a record's offer page is on its way ends the page after
// that record: the run stopped, nothing failed.
TEST_F(RunTest, StopDuringAnOfferPageIsAStopNotAFailure) {
  serveOffers(3);
  serve([&] { lookupDelay_ = 3000ms; });
  controller().collect(offers(3));
  ASSERT_TRUE(waitFor([&] { return targets().size() == 2; }));  // the result page and the first offer page
  const auto stoppedAt = Clock::now();
  controller().stop();
  waitUntilIdle();
  EXPECT_LT(Clock::now() - stoppedAt, 2500ms) << "the offer page's download ends with the stop";
  const RunOutcome outcome = *watcher_.lastOutcome();
  EXPECT_EQ(outcome.kind, OutcomeKind::Stopped);
  EXPECT_EQ(outcome.extractionsFailed, 0);
  EXPECT_EQ(outcome.health.counts.ruleFailures, 0);
  EXPECT_TRUE(watcher_.rows().empty()) << "the record whose offer page was on its way is left out";
}

TEST_F(RunTest, ShutdownDuringASlowPageEndsEveryThreadQuickly) {
  serve([&] { delay_ = 5000ms; });
  controller().collect(offers(3));
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  const auto start = Clock::now();
  EXPECT_TRUE(controller().shutdown({}, 10s));
  EXPECT_LT(Clock::now() - start, 2s);
  EXPECT_FALSE(controller().busy());
}

// The item page of a buyers run hangs: stop ends the run like any other,
// without the item page's failure message.
TEST_F(RunTest, StopWhileTheItemPageIsOnItsWayEndsTheRun) {
  serve([&] { delay_ = 5000ms; });
  controller().collect(buyers(itemAddress()));
  ASSERT_TRUE(waitFor([&] { return targets().size() == 1; }));
  const auto stoppedAt = Clock::now();
  controller().stop();
  waitUntilIdle();
  EXPECT_LT(Clock::now() - stoppedAt, 2500ms);
  EXPECT_EQ(watcher_.lastOutcome()->kind, OutcomeKind::Stopped);
  EXPECT_EQ(watcher_.lastOutcome()->message, literals::kRunFinished);
  EXPECT_TRUE(watcher_.reports().empty());
  EXPECT_EQ(targets().size(), 1u);
}

TEST_F(RunTest, BuyersRunWalksAtMostOneHundredAndTwoReviewPages) {
  serve([&] {
    body_ = "<title>Item</title><div data-reviewApi=\"http://" + server_.hostPort() +
            "/detail_rate.htm?userNumId=1&auctionNumId=2&currentPage=1&ismore=0\"></div>";
  });
  const RunOutcome outcome = runToTheEnd(buyers(itemAddress()));
  const auto asked = targets();
  ASSERT_EQ(asked.size(), 103u);  // the item page, then 102 review pages
  EXPECT_EQ(asked[1], "/detail_rate.htm?userNumId=1&auctionNumId=2&currentPage=1");
  EXPECT_EQ(asked[102], "/detail_rate.htm?userNumId=1&auctionNumId=2&currentPage=102");
  EXPECT_EQ(outcome.kind, OutcomeKind::Finished);
}

// An address that downloads but names no review pages (a shop page, an
// item without reviews, an error page) is no item page to walk.
TEST_F(RunTest, AnItemPageWithoutReviewsIsNotAnItemPage) {
  const RunOutcome outcome = runToTheEnd(buyers(itemAddress()));
  EXPECT_EQ(outcome.kind, OutcomeKind::NotAnItemPage);
  EXPECT_EQ(targets().size(), 1u);
  EXPECT_EQ(outcome.message.rfind(literals::notAnItemPageMessage(), 0), 0u);
  EXPECT_EQ(gbk::toUtf8(outcome.statusLine).rfind("不是有评价的淘宝单品页面：", 0), 0u);
}

// A seller page of 2,000 records keeps its worker for the 500 ms pause after
// each: over 16 minutes. Stop wakes the pause; the run and every thread of it
// end within about a second, and nothing more is queued.
TEST_F(RunTest, StopEndsASellerRunOfThousandsOfRecordsWithinASecond) {
  serve([&] {
    defaultRule_ = "<i>([^<]*)</i>";
    body_.clear();
    for (int i = 0; i < 2000; ++i) body_ += "<i>product " + std::to_string(i) + "</i>\n";
  });
  controller().collect(sellers(5));
  ASSERT_TRUE(waitFor([&] { return statusShown(literals::collectingPage(1)); }));
  const auto stoppedAt = Clock::now();
  controller().stop();
  waitUntilIdle();
  EXPECT_LT(Clock::now() - stoppedAt, 2500ms);
  EXPECT_EQ(watcher_.lastOutcome()->kind, OutcomeKind::Stopped);
  EXPECT_EQ(targets().size(), 1u) << "a stopped run queues no next page";

  // Closing during the pause ends every thread at once.
  controller().collect(sellers(5));
  ASSERT_TRUE(waitFor([&] { return targets().size() == 2; }));
  const auto start = Clock::now();
  EXPECT_TRUE(controller().shutdown({}, 10s));
  EXPECT_LT(Clock::now() - start, 1500ms);
}

// A product rule that matches the empty text would give an empty record,
// and the seller's pause, at every character: it is broken for the page.
TEST_F(RunTest, ARuleThatMatchesTheEmptyTextIsBrokenForThePage) {
  serve([&] {
    defaultRule_ = "(x*)";
    body_ = std::string(4000, 'y');
  });
  const auto started = Clock::now();
  const RunOutcome outcome = runToTheEnd(sellers(1));
  EXPECT_LT(Clock::now() - started, 10s) << "no pause for empty records";
  EXPECT_TRUE(watcher_.rows().empty());
  EXPECT_EQ(outcome.kind, OutcomeKind::ExtractionsFailed);
  ASSERT_FALSE(outcome.health.rules.empty());
  EXPECT_EQ(outcome.health.rules.front().first->name, "ExtractTextAImg3");
  EXPECT_EQ(outcome.health.rules.front().second.emptyMatch, 1);
  ASSERT_EQ(watcher_.reports().size(), 1u);
  EXPECT_NE(watcher_.reports()[0].find("pattern matches the empty text"), std::string::npos);
}

TEST_F(RunTest, ManyRunsOneAfterAnotherLeaveNoThreadBehind) {
  for (int i = 0; i < 5; ++i) runToTheEnd(offers(0));
  EXPECT_EQ(watcher_.outcomes().size(), 5u);
  EXPECT_EQ(targets().size(), 5u);
}

}  // namespace
}  // namespace gleaner
