// Whole runs of the three jobs through the real engine, readers and rule
// files against the sample site: the exact rows, the exact addresses the
// site was asked for, and how each run ended.
#include <gtest/gtest.h>

#include <chrono>

#include "SiteFixture.h"
#include "sample-site/SampleCatalog.h"
#include "text/GbkConvert.h"
#include "text/HealthTexts.h"
#include "text/Literals.h"
#include "text/OutcomeTexts.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using RunE2e = SiteFixture;

const std::string kOfferSearch =
    "/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2&sortType=normal&button_click=top&earseDirect=false&n=y"
    "#beginPage=";

TEST_F(RunE2e, OfferRunReadsEachPageOnceAndEveryOfferPage) {
  const std::string keyword = gbkText("核桃");
  const RunOutcome outcome = runToTheEnd(search(Job::Offers, keyword, 2));

  const auto rows = concat({expectedOfferRows(keyword, 1), expectedOfferRows(keyword, 2)});
  EXPECT_EQ(watcher->rows(), rows);
  EXPECT_EQ(watcher->counts().back(), static_cast<int>(rows.size()));
  EXPECT_EQ(targetsOn("s.1688.com"), (std::vector<std::string>{kOfferSearch + "1", kOfferSearch + "2"}));
  std::vector<std::string> offerPages;
  for (const auto& row : rows) offerPages.push_back(row[3].substr(22));
  EXPECT_EQ(targetsOn("detail.1688.com"), offerPages);
  EXPECT_EQ(watcher->status(), (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2)}));
  EXPECT_EQ(outcome.kind, OutcomeKind::Finished);
  EXPECT_EQ(outcome.statusLine, literals::runSummary({2, static_cast<int>(rows.size()), 0, 0, 0}));
  EXPECT_EQ(outcome.message, literals::kRunFinished);
}

TEST_F(RunE2e, SellerRunAsksForEachPageOnceAndFiltersByLevel) {
  const std::string keyword = gbkText("核桃");
  RunRequest request = search(Job::Sellers, keyword, 2);
  request.levelFilter = gbkText("1钻");
  const RunOutcome outcome = runToTheEnd(request);

  const auto rows = expectedSellerRows(keyword, 0, request.levelFilter);
  EXPECT_EQ(watcher->rows(), concat({rows, expectedSellerRows(keyword, 40, request.levelFilter)}));
  // The seller below 4 points has no level, which every filter holds.
  EXPECT_GE(rows.size(), 2u);
  EXPECT_EQ(targetsOn("s.taobao.com"),
            (std::vector<std::string>{"/search?&q=%BA%CB%CC%D2", "/search?&q=%BA%CB%CC%D2&s=40"}));
  EXPECT_EQ(outcome.kind, OutcomeKind::Finished);
}

// The sample item's review pages past the fifth hold no buyers, and the
// site says so: the walk ends at the first of them.
TEST_F(RunE2e, BuyersRunWalksTheItemsReviewPagesToTheirEnd) {
  const RunOutcome outcome = runToTheEnd(search(Job::Buyers, {}, 0));

  const sample::Item item = sample::SampleCatalog::item(sample::kSampleItemId);
  const std::string title = gbkText("厂家直销羽绒服限量版数量有限淘宝网") + "\t\r\n";
  const std::string itemAddress = "http://item.taobao.com" + std::string(literals::kSampleItemPath);
  std::vector<ResultRow> expected;
  for (int page = 1; page <= item.reviewPages; ++page) {
    const auto rows = expectedBuyerRows(item.itemId, page, title, itemAddress);
    expected.insert(expected.end(), rows.begin(), rows.end());
  }
  EXPECT_EQ(watcher->rows(), expected);

  EXPECT_EQ(targetsOn("item.taobao.com"), (std::vector<std::string>{std::string(literals::kSampleItemPath)}));
  const auto reviews = targetsOn("rate.taobao.com");
  const int firstEmpty = item.reviewPages + 1;
  ASSERT_EQ(reviews.size(), static_cast<std::size_t>(firstEmpty));
  const std::string base = "/detail_rate.htm?userNumId=" + item.seller.sellerId +
                           "&auctionNumId=19793658234&showContent=1&currentPage=";
  for (int page = 1; page <= firstEmpty; ++page) EXPECT_EQ(reviews[page - 1], base + std::to_string(page));
  EXPECT_EQ(outcome.kind, OutcomeKind::ResultsEnded);
  EXPECT_EQ(outcome.resultsEndedAt, firstEmpty);
  EXPECT_EQ(outcome.statusLine,
            literals::openedLine(literals::resultsEndedOpening(firstEmpty, true),
                                 literals::runSummary({firstEmpty, static_cast<int>(expected.size()), 1, 1, 0})));
  EXPECT_EQ(outcome.message, literals::kRunFinished);
}

TEST_F(RunE2e, AnItemWithoutReviewsIsNotAnItemPageToWalk) {
  RunRequest request = search(Job::Buyers, {}, 0);
  request.itemAddress = "http://item.taobao.com/item.htm?id=" + std::string(sample::kItemWithoutReviews);
  const RunOutcome outcome = runToTheEnd(request);
  EXPECT_EQ(outcome.kind, OutcomeKind::NotAnItemPage);
  EXPECT_TRUE(watcher->rows().empty());
  EXPECT_TRUE(targetsOn("rate.taobao.com").empty());
  EXPECT_EQ(gbk::toUtf8(outcome.message).rfind("填写的网址不是有评价的淘宝单品页面。", 0), 0u);
}

TEST_F(RunE2e, AFailedPageEndsTheWalkAndKeepsTheRowsBeforeIt) {
  const RunOutcome outcome = runToTheEnd(search(Job::Offers, "missing3", 5));
  const std::string search = "/selloffer/offer_search.htm?keywords=missing3&sortType=normal&button_click=top"
                             "&earseDirect=false&n=y#beginPage=";
  EXPECT_EQ(targetsOn("s.1688.com"), (std::vector<std::string>{search + "1", search + "2", search + "3"}));
  const auto rows = concat({expectedOfferRows("missing3", 1), expectedOfferRows("missing3", 2)});
  EXPECT_EQ(watcher->rows(), rows);
  EXPECT_EQ(outcome.kind, OutcomeKind::PageFailed);
  ASSERT_TRUE(outcome.failedPage);
  EXPECT_EQ(outcome.failedPage->number, 3);
  EXPECT_EQ(outcome.failedPage->address, "http://s.1688.com" + search + "3");
  EXPECT_EQ(gbk::toUtf8(outcome.statusLine).rfind("第3页下载失败（HTTP 404），采集到第2页为止：采集结束：共2页", 0), 0u)
      << gbk::toUtf8(outcome.statusLine);
  EXPECT_NE(gbk::toUtf8(outcome.message).find("已采集到的" + std::to_string(rows.size()) + "条结果保留在列表中"),
            std::string::npos);
}

// Search pages of about 1 MB crafted against backtracking patterns: the
// shipped rules read them in milliseconds and find the real records.
TEST_F(RunE2e, HostileSearchPagesGiveTheirRowsWithoutDelay) {
  const auto started = Clock::now();
  runToTheEnd(search(Job::Offers, "hostile", 2));
  EXPECT_LT(Clock::now() - started, 30s);
  EXPECT_EQ(watcher->rows(), concat({expectedOfferRows("hostile", 1), expectedOfferRows("hostile", 2)}));
  EXPECT_TRUE(watcher->reports().empty());

  runToTheEnd(search(Job::Sellers, "hostile", 1));
  EXPECT_EQ(watcher->rows(), expectedSellerRows("hostile", 0, gbkText("所有信用等级")));
  EXPECT_TRUE(watcher->reports().empty());
}

}  // namespace
}  // namespace gleaner::e2e
