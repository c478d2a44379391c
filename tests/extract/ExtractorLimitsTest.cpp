// Extractors against rule servers and pages that misbehave on purpose: huge
// rule files, pages with thousands of records, a stop in the middle of a page.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "engine/MemoryWindow.h"
#include "extract/FakeSite.h"
#include "extract/PageExtractor.h"
#include "net/RawServer.h"

namespace gleaner {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ExtractorLimitsTest : public ::testing::Test {
 protected:
  std::string onlyReport() const {
    const std::vector<std::string> reports = window.reports();
    EXPECT_EQ(reports.size(), 1u);
    return reports.empty() ? std::string() : reports.front();
  }

  testing::FakeSite site;
  MemoryWindow window;
  RunContext run;
};

TEST_F(ExtractorLimitsTest, ARuleFileOverSixtyFourKibIsRefusedAsBroken) {
  // A pattern that would match, padded past the limit with a harmless group.
  const std::string pattern = "<li>([^<]*)</li>";
  site.serve("/files/taobao/ExtractAllText.txt", pattern + "(?:" + std::string(PageExtractor::kMaxRuleFileBytes, 'x') + ")?");
  PageExtractor extractor(window, site.sites(), run);
  EXPECT_FALSE(extractor.BuyerListExtractor("<li>a,1</li>"));
  EXPECT_TRUE(window.rows().empty());
  EXPECT_TRUE(contains(onlyReport(), "Download failed!\r\n")) << onlyReport();
  EXPECT_TRUE(contains(onlyReport(), "larger than 65536 bytes")) << onlyReport();

  // Just under the limit it is a rule like any other.
  window.deleteAllRows();
  site.serve("/files/taobao/ExtractAllText.txt", pattern + "(?:" + std::string(60 * 1024, 'x') + ")?");
  EXPECT_TRUE(extractor.BuyerListExtractor("<li>a,1</li>"));
  EXPECT_EQ(window.rows().size(), 1u);
}

TEST_F(ExtractorLimitsTest, ARuleServerThatSendsWithoutEndIsCutOffAtTheLimit) {
  testing::RawServer endless(testing::endlessBody());
  Sites sites = site.sites();
  sites.ruleServer = endless.hostPort();
  PageExtractor extractor(window, sites, run);
  const auto started = Clock::now();
  EXPECT_FALSE(extractor.OfferListExtractor("<li>x</li>"));
  EXPECT_LT(Clock::now() - started, 5s);
  EXPECT_TRUE(contains(onlyReport(), "larger than 65536 bytes")) << onlyReport();
}

// 2,000 product records without an item id: each costs nothing but the 500 ms
// pause, so the page alone would keep a worker for over 16 minutes. A stop
// wakes the pause at once and ends the page after the record in hand.
TEST_F(ExtractorLimitsTest, AStopEndsASellerPageOfThousandsOfRecordsAtOnce) {
  site.serve("/files/taobao/ExtractTextAImg3.txt", "<i>([^<]*)</i>");
  std::string page;
  for (int i = 0; i < 2000; ++i) page += "<i>product " + std::to_string(i) + "</i>\r\n";
  PageExtractor extractor(window, site.sites(), run);
  auto stopper = std::async(std::launch::async, [this] {
    std::this_thread::sleep_for(1200ms);
    run.stop.request();
  });
  const auto started = Clock::now();
  EXPECT_TRUE(extractor.SellerExtractor(page));
  const auto took = Clock::now() - started;
  stopper.get();
  EXPECT_GE(took, 1100ms);
  EXPECT_LT(took, 2500ms);
  EXPECT_TRUE(window.reports().empty()) << "a stop is no failure";
}

TEST_F(ExtractorLimitsTest, AStopFinishesTheOfferInHandAndTakesNoFurtherOne) {
  site.serve("/files/ali/ExtractTextAImg.txt", R"(<li (offerid=[^ >]*) (memberid=[^ >]*)>(.*?)</li>)");
  site.serve("/files/ali/ExtractTextAImg01.txt", "<h1>(.*?)</h1>");
  site.serve("/offer/1.html", "<h1>First</h1>");
  site.serve("/offer/2.html", "<h1>Second</h1>");
  // The stop comes while the first offer's row is being appended.
  window.onRowAppended = [this](const ResultRow&) { run.stop.request(); };
  PageExtractor extractor(window, site.sites(), run);
  EXPECT_TRUE(extractor.OfferListExtractor("<li offerid=\"1\" memberid=\"m1\">A</li><li offerid=\"2\" memberid=\"m2\">B</li>"));
  ASSERT_EQ(window.rows().size(), 1u);
  EXPECT_EQ(window.rows()[0][0], "First\t");
  EXPECT_EQ(site.hits("/offer/2.html"), 0);
  // A stopped run's next page ends before its first search.
  EXPECT_TRUE(extractor.OfferListExtractor("<li offerid=\"2\" memberid=\"m2\">B</li>"));
  EXPECT_EQ(window.rows().size(), 1u);
}

TEST_F(ExtractorLimitsTest, AReportQuotesNoControlCharacterOfARuleFile) {
  // Boost's message quotes the pattern that does not compile.
  site.serve("/files/taobao/ExtractAllText.txt", "(\x1B[2J\x07");
  PageExtractor extractor(window, site.sites(), run);
  EXPECT_FALSE(extractor.BuyerListExtractor("x"));
  const std::string report = onlyReport();
  EXPECT_TRUE(contains(report, "Pattern failed")) << report;
  EXPECT_FALSE(contains(report, "\x1B")) << report;
  EXPECT_FALSE(contains(report, "\x07")) << report;
}

}  // namespace
}  // namespace gleaner
