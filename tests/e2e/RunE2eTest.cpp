// Whole runs of the three jobs through the real engine, extractors and rule
// files against the sample site: the exact rows, and the exact addresses the
// site was asked for.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SiteFixture.h"
#include "engine/MainThread.h"
#include "engine/MemoryWindow.h"
#include "engine/ProcessValues.h"
#include "engine/RunController.h"
#include "support/WaitFor.h"
#include "extract/PageExtractor.h"
#include "sample-site/SampleCatalog.h"
#include "text/GbkText.h"
#include "text/HealthTexts.h"
#include "text/Literals.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kOfferSearch =
    "/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2&sortType=normal&button_click=top&earseDirect=false&n=y"
    "#beginPage=";

class RunE2e : public SiteFixture {
 protected:
  void SetUp() override {
    SiteFixture::SetUp();
    PauseRequested = false;
    window = std::make_unique<MemoryWindow>(sites.itemHost);
    controller = std::make_unique<RunController>(*window, sites);
  }
  void TearDown() override {
    controller.reset();
    PauseRequested = false;
    SiteFixture::TearDown();
  }

  void waitUntilIdle() {
    ASSERT_TRUE(testing::waitFor([&] { return !controller->busy(); }, 120s)) << "the run did not end";
  }
  void runToTheEnd() {
    controller->collect();
    waitUntilIdle();
  }
  template <typename Predicate>
  bool waitFor(Predicate predicate, std::chrono::milliseconds limit = 30s) {
    return testing::waitFor(predicate, limit);
  }
  int finishedMessages() const {
    int n = 0;
    for (const auto& message : window->messages()) n += message == literals::kRunFinished;
    return n;
  }

  std::unique_ptr<MemoryWindow> window;
  std::unique_ptr<RunController> controller;
};

TEST_F(RunE2e, OfferRunReadsEachPageOnceAndEveryOfferPage) {
  window->setControlText(TabPage::Search, ids::kSearchPages, "2");
  runToTheEnd();

  const std::string keyword = gbkText("核桃");
  const auto page1 = expectedOfferRows(keyword, 1);
  const auto page2 = expectedOfferRows(keyword, 2);
  EXPECT_EQ(window->rows(), concat({page1, page2}));
  EXPECT_EQ(window->countDisplay(), std::to_string(page1.size() + page2.size()));
  EXPECT_EQ(window->runFields().offerPageCounter, 2);
  EXPECT_EQ(targetsOn("s.1688.com"), (std::vector<std::string>{kOfferSearch + "1", kOfferSearch + "2"}));
  std::vector<std::string> offerPages;
  for (const auto& row : concat({page1, page2})) offerPages.push_back(row[3].substr(22));
  EXPECT_EQ(targetsOn("detail.1688.com"), offerPages);
  const int rows = static_cast<int>(page1.size() + page2.size());
  EXPECT_EQ(window->statusHistory(), (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2),
                                                               literals::runSummary({2, rows, 0, 0, 0})}));
  EXPECT_EQ(finishedMessages(), 1);
  EXPECT_TRUE(window->collectEnabled());
}

TEST_F(RunE2e, SellerRunAsksForEachPageOnceAndFiltersByLevel) {
  window->selectTab(2);
  window->setControlText(TabPage::SellerSearch, ids::kSellerPages, "2");
  const std::string keyword = gbkText("核桃");
  const auto products = sample::SampleCatalog::taobaoSearch(keyword, 0);
  const std::string level = PageExtractor::CreditLevelText(std::to_string(products[1].seller.score));
  ASSERT_FALSE(level.empty());
  window->setControlText(TabPage::SellerSearch, ids::kSellerLevel, level);
  runToTheEnd();

  const auto rows = expectedSellerRows(keyword, 0, level);
  EXPECT_EQ(window->rows(), concat({rows, expectedSellerRows(keyword, 40, level)}));
  // The seller below 4 points has no level, which every filter holds.
  EXPECT_GE(rows.size(), 2u);
  EXPECT_EQ(targetsOn("s.taobao.com"),
            (std::vector<std::string>{"/search?&q=%BA%CB%CC%D2", "/search?&q=%BA%CB%CC%D2&s=40"}));
  EXPECT_EQ(window->statusHistory(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2),
                                      literals::runSummary({2, static_cast<int>(window->rows().size()), 0, 0, 0})}));
}

TEST_F(RunE2e, BuyersRunWalksTheItemsReviewPages) {
  window->selectTab(1);
  runToTheEnd();

  const sample::Item item = sample::SampleCatalog::item(sample::kSampleItemId);
  const std::string title = gbkText("厂家直销羽绒服限量版数量有限淘宝网") + "\t\r\n";
  EXPECT_EQ(window->runFields().itemTitle(), title);
  const std::string itemAddress = "http://item.taobao.com" + std::string(literals::kSampleItemPath);
  std::vector<ResultRow> expected;
  for (int page = 1; page <= item.reviewPages; ++page) {
    const auto rows = expectedBuyerRows(item.itemId, page, title, itemAddress);
    expected.insert(expected.end(), rows.begin(), rows.end());
  }
  EXPECT_EQ(window->rows(), expected);
  EXPECT_EQ(window->countDisplay(), std::to_string(expected.size()));

  EXPECT_EQ(targetsOn("item.taobao.com"), (std::vector<std::string>{std::string(literals::kSampleItemPath)}));
  const auto reviews = targetsOn("rate.taobao.com");
  ASSERT_EQ(reviews.size(), 102u);
  const std::string base = "/detail_rate.htm?userNumId=" + item.seller.sellerId +
                           "&auctionNumId=19793658234&showContent=1&currentPage=";
  for (int page = 1; page <= 102; ++page) EXPECT_EQ(reviews[page - 1], base + std::to_string(page));
  // The review pages past the last one with buyers are empty by the site's
  // own word: from the second of them on, the status line says so, and no
  // rule is blamed; the run ends on its summary.
  std::vector<std::string> expectedStatus;
  for (int page = item.reviewPages + 2; page <= 102; ++page) expectedStatus.push_back(literals::reviewsEmpty(page));
  const int emptyPages = 102 - item.reviewPages;
  expectedStatus.push_back(literals::endOfRunLine(
      literals::runSummary({102, static_cast<int>(expected.size()), emptyPages, emptyPages, 0}),
      literals::reviewsEmpty(102)));
  EXPECT_EQ(window->statusHistory(), expectedStatus);
}

TEST_F(RunE2e, BuyersRunOfAnItemWithoutReviewsEndsAtItsEmptyAddress) {
  window->selectTab(1);
  window->setControlText(TabPage::ItemUrl, ids::kItemAddress, "http://item.taobao.com/item.htm?id=10000000001");
  runToTheEnd();
  EXPECT_TRUE(window->rows().empty());
  EXPECT_TRUE(targetsOn("rate.taobao.com").empty());
  EXPECT_EQ(finishedMessages(), 1);
}

TEST_F(RunE2e, AFailedPageEndsTheWalkAndKeepsTheRowsBeforeIt) {
  window->setControlText(TabPage::Search, ids::kSearchKeyword, "missing3");
  window->setControlText(TabPage::Search, ids::kSearchPages, "5");
  runToTheEnd();
  const std::string search = "/selloffer/offer_search.htm?keywords=missing3&sortType=normal&button_click=top"
                             "&earseDirect=false&n=y#beginPage=";
  EXPECT_EQ(targetsOn("s.1688.com"), (std::vector<std::string>{search + "1", search + "2", search + "3"}));
  EXPECT_EQ(window->rows(), concat({expectedOfferRows("missing3", 1), expectedOfferRows("missing3", 2)}));
  ASSERT_FALSE(window->reports().empty());
  const std::string failed = "http://s.1688.com" + search + "3\r\nDownload failed!\r\n";
  EXPECT_EQ(window->reports().back().substr(0, failed.size()), failed);
  EXPECT_NE(window->reports().back().find("status 404"), std::string::npos) << window->reports().back();
  EXPECT_EQ(finishedMessages(), 1);
}

TEST_F(RunE2e, PauseBeforeCollectHoldsTheSecondPageUntilContinue) {
  window->setControlText(TabPage::Search, ids::kSearchKeyword, "tiny");
  window->setControlText(TabPage::Search, ids::kSearchPages, "2");
  controller->togglePause();
  controller->collect();
  ASSERT_TRUE(waitFor([&] { return window->rows().size() == 1; }));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(targetsOn("s.1688.com").size(), 1u);
  EXPECT_EQ(window->rows().size(), 1u);
  controller->togglePause();
  waitUntilIdle();
  EXPECT_EQ(targetsOn("s.1688.com").size(), 2u);
  EXPECT_EQ(window->rows().size(), 2u);
}

TEST_F(RunE2e, StopDuringASlowPageShowsTheEndAndThatPageAddsNothing) {
  window->setControlText(TabPage::Search, ids::kSearchKeyword, "slow");
  controller->collect();
  ASSERT_TRUE(waitFor([&] { return targetsOn("s.1688.com").size() == 1; }));
  const auto stoppedAt = Clock::now();
  controller->stop();
  ASSERT_TRUE(waitFor([&] { return finishedMessages() == 1; }, 5s));
  const auto endShown = Clock::now() - stoppedAt;
  EXPECT_GE(endShown, 1000ms);
  EXPECT_LE(endShown, 1700ms);
  EXPECT_TRUE(window->rows().empty());
  EXPECT_TRUE(window->collectEnabled());
  waitUntilIdle();
  // The page in flight arrived after the stop: it ends before its first
  // search, adds no row and queues nothing.
  EXPECT_TRUE(window->rows().empty());
  EXPECT_EQ(targetsOn("s.1688.com").size(), 1u);
}

TEST_F(RunE2e, RefusedRunChangesNothingButTheClearedList) {
  window->appendRow({"a", "b", "c", "d"}, "9");
  window->selectTab(2);
  window->setControlText(TabPage::SellerSearch, ids::kSellerKeyword, "");
  runToTheEnd();
  EXPECT_TRUE(window->rows().empty());
  EXPECT_EQ(window->columns(), CollectionMode::SellerSearch);
  EXPECT_EQ(window->countDisplay(), "9");
  EXPECT_EQ(window->messages(), (std::vector<std::string>{std::string(literals::kFillKeyword)}));
  EXPECT_TRUE(site.requests().empty());
  EXPECT_TRUE(window->collectEnabled());
}

// The job is the run's: a tab clicked while the run waits for its second
// page changes neither the extractor nor the walk.
TEST_F(RunE2e, SwitchingTheTabDuringARunChangesNothingOfIt) {
  window->setControlText(TabPage::Search, ids::kSearchPages, "3");
  controller->togglePause();
  controller->collect();
  ASSERT_TRUE(waitFor([&] { return window->statusHistory().size() == 1 && window->rows().size() == 12; }));
  window->selectTab(2);
  window->setControlText(TabPage::Search, ids::kSearchPages, "1");
  controller->togglePause();
  waitUntilIdle();

  const std::string keyword = gbkText("核桃");
  EXPECT_EQ(window->rows(),
            concat({expectedOfferRows(keyword, 1), expectedOfferRows(keyword, 2), expectedOfferRows(keyword, 3)}));
  EXPECT_EQ(window->runFields().sellerPageCounter, 0);
  EXPECT_EQ(window->statusHistory(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2),
                                      literals::collectingPage(3),
                                      literals::runSummary({3, static_cast<int>(window->rows().size()), 0, 0, 0})}));
  EXPECT_TRUE(targetsOn("s.taobao.com").empty());
  EXPECT_EQ(finishedMessages(), 1);
}

// Search pages of about 1 MB crafted against backtracking patterns: the
// shipped rules read them in milliseconds and find the real records.
TEST_F(RunE2e, HostileSearchPagesGiveTheirRowsWithoutDelay) {
  window->setControlText(TabPage::Search, ids::kSearchKeyword, "hostile");
  window->setControlText(TabPage::Search, ids::kSearchPages, "2");
  const auto started = Clock::now();
  runToTheEnd();
  EXPECT_LT(Clock::now() - started, 30s);
  EXPECT_EQ(window->rows(), concat({expectedOfferRows("hostile", 1), expectedOfferRows("hostile", 2)}));
  EXPECT_TRUE(window->reports().empty());

  window->selectTab(2);
  window->setControlText(TabPage::SellerSearch, ids::kSellerKeyword, "hostile");
  window->setControlText(TabPage::SellerSearch, ids::kSellerPages, "1");
  runToTheEnd();
  EXPECT_EQ(window->rows(), expectedSellerRows("hostile", 0, gbkText("所有信用等级")));
  EXPECT_TRUE(window->reports().empty());
}

}  // namespace
}  // namespace gleaner::e2e
