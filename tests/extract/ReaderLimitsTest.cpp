// Readers against rule servers and pages that misbehave on purpose: huge
// rule files, pages with thousands of records, a stop in the middle of a page.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "extract/BuyerReader.h"
#include "extract/FakeSite.h"
#include "extract/OfferReader.h"
#include "extract/ReaderRun.h"
#include "extract/SellerReader.h"
#include "net/RawServer.h"
#include "support/WaitFor.h"
#include "text/Literals.h"

namespace gleaner {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ReaderLimitsTest : public ::testing::Test {
 protected:
  std::string onlyReport() const {
    EXPECT_EQ(run.host.reports.size(), 1u);
    return run.host.reports.empty() ? std::string() : run.host.reports.front();
  }
  PageReport readBuyers(const std::string& page) { return BuyerReader(run.context, "T", "http://item/1").read(page); }

  testing::FakeSite site;
  testing::ReaderRun run{site.sites()};
};

TEST_F(ReaderLimitsTest, ARuleFileOverSixtyFourKibIsRefusedAsBroken) {
  ASSERT_EQ(RuleSource::kMaxRuleFileBytes, 64u * 1024);
  // A pattern that would match, padded past the limit with a harmless group.
  const std::string pattern = "<li>([^<]*)</li>";
  site.serve("/files/taobao/ExtractAllText.txt",
             pattern + "(?:" + std::string(RuleSource::kMaxRuleFileBytes, 'x') + ")?");
  EXPECT_TRUE(readBuyers("<li>a,1</li>").failed);
  EXPECT_TRUE(run.host.rows.empty());
  EXPECT_TRUE(contains(onlyReport(), "Download failed!\r\n")) << onlyReport();
  EXPECT_TRUE(contains(onlyReport(), "larger than 65536 bytes")) << onlyReport();

  // Just under the limit it is a rule like any other.
  site.serve("/files/taobao/ExtractAllText.txt", pattern + "(?:" + std::string(60 * 1024, 'x') + ")?");
  EXPECT_FALSE(readBuyers("<li>a,1</li>").failed);
  EXPECT_EQ(run.host.rows.size(), 1u);
}

TEST_F(ReaderLimitsTest, ARuleServerThatSendsWithoutEndIsCutOffAtTheLimit) {
  testing::RawServer endless(testing::endlessBody());
  Sites sites = site.sites();
  sites.ruleServer = endless.hostPort();
  testing::ReaderRun endlessRun(sites);
  const auto started = Clock::now();
  EXPECT_TRUE(OfferReader(endlessRun.context).read("<li>x</li>").failed);
  EXPECT_LT(Clock::now() - started, 5s);
  ASSERT_EQ(endlessRun.host.reports.size(), 1u);
  EXPECT_TRUE(contains(endlessRun.host.reports[0], "larger than 65536 bytes")) << endlessRun.host.reports[0];
}

// 2,000 product records without an item id: each costs nothing but the 500 ms
// pause, so the page alone would keep a worker for over 16 minutes. A stop
// wakes the pause at once and ends the page after the record in hand.
TEST_F(ReaderLimitsTest, AStopEndsASellerPageOfThousandsOfRecordsAtOnce) {
  site.serve("/files/taobao/ExtractTextAImg3.txt", "<i>([^<]*)</i>");
  std::string page;
  for (int i = 0; i < 2000; ++i) page += "<i>product " + std::to_string(i) + "</i>\r\n";
  SellerReader reader(run.context, std::string(literals::kAllCreditLevels));
  auto reading = std::async(std::launch::async, [&] {
    const PageReport report = reader.read(page);
    return std::pair{report, Clock::now()};
  });
  // The page is under way: its rule has come and its first pause has begun.
  ASSERT_TRUE(testing::waitFor([&] { return site.hits("/files/taobao/ExtractTextAImg3.txt") == 1; }, 10s));
  ASSERT_EQ(reading.wait_for(600ms), std::future_status::timeout) << "the pause after a product is half a second";
  const auto stopped = Clock::now();
  run.stop.request();
  const auto [report, ended] = reading.get();
  EXPECT_LT(ended - stopped, 1s);
  EXPECT_TRUE(report.stopped);
  EXPECT_FALSE(report.failed);
  EXPECT_LT(report.records, 10);
  EXPECT_TRUE(run.host.reports.empty()) << "a stop is no failure";
}

TEST_F(ReaderLimitsTest, AStopFinishesTheOfferInHandAndTakesNoFurtherOne) {
  site.serve("/files/ali/ExtractTextAImg.txt", R"(<li (offerid=[^ >]*) (memberid=[^ >]*)>(.*?)</li>)");
  site.serve("/files/ali/ExtractTextAImg01.txt", "<h1>(.*?)</h1>");
  site.serve("/offer/1.html", "<h1>First</h1>");
  site.serve("/offer/2.html", "<h1>Second</h1>");
  // The stop comes while the first offer's row is being kept.
  run.host.onRow = [this](const ResultRow&) { run.stop.request(); };
  OfferReader reader(run.context);
  const PageReport report =
      reader.read("<li offerid=\"1\" memberid=\"m1\">A</li><li offerid=\"2\" memberid=\"m2\">B</li>");
  EXPECT_TRUE(report.stopped);
  EXPECT_FALSE(report.failed);
  ASSERT_EQ(run.host.rows.size(), 1u);
  EXPECT_EQ(run.host.rows[0][0], "First\t");
  EXPECT_EQ(site.hits("/offer/2.html"), 0);
  // A stopped run's next page ends before its first search.
  EXPECT_TRUE(reader.read("<li offerid=\"2\" memberid=\"m2\">B</li>").stopped);
  EXPECT_EQ(run.host.rows.size(), 1u);
  EXPECT_TRUE(run.host.reports.empty());
}

TEST_F(ReaderLimitsTest, AReportQuotesNoControlCharacterOfARuleFile) {
  // Boost's message quotes the pattern that does not compile.
  site.serve("/files/taobao/ExtractAllText.txt", "(\x1B[2J\x07");
  EXPECT_TRUE(readBuyers("x").failed);
  const std::string report = onlyReport();
  EXPECT_TRUE(contains(report, "Pattern failed")) << report;
  EXPECT_FALSE(contains(report, "\x1B")) << report;
  EXPECT_FALSE(contains(report, "\x07")) << report;
}

}  // namespace
}  // namespace gleaner
