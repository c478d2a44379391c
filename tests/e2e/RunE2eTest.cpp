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

TEST_F(RunE2e, OfferRunReadsPageOneTwiceAndEveryOfferPage) {
  window->setControlText(TabPage::Search, ids::kSearchPages, "2");
  runToTheEnd();

  const std::string keyword = gbkText("核桃");
  const auto page1 = expectedOfferRows(keyword, 1);
  const auto page2 = expectedOfferRows(keyword, 2);
  EXPECT_EQ(window->rows(), concat({page1, page1, page2}));
  EXPECT_EQ(window->countDisplay(), std::to_string(2 * page1.size() + page2.size()));
  EXPECT_EQ(window->runFields().offerPageCounter, 3);
  EXPECT_EQ(targetsOn("s.1688.com"),
            (std::vector<std::string>{kOfferSearch + "1", kOfferSearch + "1", kOfferSearch + "2"}));
  std::vector<std::string> offerPages;
  for (const auto& row : concat({page1, page1, page2})) offerPages.push_back(row[3].substr(22));
  EXPECT_EQ(targetsOn("detail.1688.com"), offerPages);
  EXPECT_EQ(window->statusHistory().back(), literals::collectingPage(3));
  EXPECT_EQ(finishedMessages(), 1);
  EXPECT_TRUE(window->collectEnabled());
}

TEST_F(RunE2e, SellerRunWithPageCountZeroAsksForTwoPagesAndFiltersByLevel) {
  window->selectTab(2);
  window->setControlText(TabPage::SellerSearch, ids::kSellerPages, "0");
  const std::string keyword = gbkText("核桃");
  const auto products = sample::SampleCatalog::taobaoSearch(keyword, 0);
  const std::string level = PageExtractor::CreditLevelText(std::to_string(products[1].seller.score));
  ASSERT_FALSE(level.empty());
  window->setControlText(TabPage::SellerSearch, ids::kSellerLevel, level);
  runToTheEnd();

  const auto rows = expectedSellerRows(keyword, 0, level);
  EXPECT_EQ(window->rows(), concat({rows, rows}));
  // The seller below 4 points has no level, which every filter holds.
  EXPECT_GE(rows.size(), 2u);
  EXPECT_EQ(targetsOn("s.taobao.com"),
            (std::vector<std::string>{"/search?&q=%BA%CB%CC%D2", "/search?&q=%BA%CB%CC%D2&s=0"}));
  EXPECT_EQ(window->statusHistory(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2)}));
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
  // The buyers job leaves the status display alone.
  EXPECT_TRUE(window->statusHistory().empty());
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
  EXPECT_EQ(targetsOn("s.1688.com"),
            (std::vector<std::string>{search + "1", search + "1", search + "2", search + "3"}));
  const auto page1 = expectedOfferRows("missing3", 1);
  EXPECT_EQ(window->rows(), concat({page1, page1, expectedOfferRows("missing3", 2)}));
  ASSERT_FALSE(window->reports().empty());
  EXPECT_EQ(window->reports().back(), "http://s.1688.com" + search + "3\r\nDownload failed!\r\n");
  EXPECT_EQ(finishedMessages(), 1);
}

TEST_F(RunE2e, PauseBeforeCollectHoldsTheSecondPageUntilContinue) {
  window->setControlText(TabPage::Search, ids::kSearchKeyword, "tiny");
  window->setControlText(TabPage::Search, ids::kSearchPages, "1");
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

TEST_F(RunE2e, StopDuringASlowPageShowsTheEndWhileThatPageStillAddsRows) {
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
  // The page in flight was read after the end: its rows came all the same,
  // and the next page it queued was never asked for.
  EXPECT_EQ(window->rows(), expectedOfferRows("slow", 1));
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

TEST_F(RunE2e, SwitchingTheTabDuringARunChangesTheExtractorOfTheNextPages) {
  window->setControlText(TabPage::Search, ids::kSearchPages, "3");
  controller->togglePause();
  controller->collect();
  ASSERT_TRUE(waitFor([&] { return window->statusHistory().size() == 1 && window->rows().size() == 12; }));
  // The second page waits; it is read as a Taobao search page now.
  window->selectTab(2);
  controller->togglePause();
  waitUntilIdle();

  EXPECT_EQ(window->rows(), expectedOfferRows(gbkText("核桃"), 1));
  EXPECT_EQ(window->runFields().sellerPageCounter, 1);
  EXPECT_EQ(window->statusHistory(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(1)}));
  // The seller rule found no seller page count in this offer run: the walk ends.
  EXPECT_EQ(targetsOn("s.1688.com"), (std::vector<std::string>{kOfferSearch + "1", kOfferSearch + "1"}));
  EXPECT_EQ(finishedMessages(), 1);
}

}  // namespace
}  // namespace gleaner::e2e
