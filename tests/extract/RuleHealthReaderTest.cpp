// What the readers tell a run about its rules: the page report (records,
// rows, the empty-result marker's verdict) and every rule use, counted by
// kind of failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/BuyerReader.h"
#include "extract/FakeSite.h"
#include "extract/OfferReader.h"
#include "extract/ReaderRun.h"
#include "extract/RuleTally.h"
#include "extract/SellerReader.h"

namespace gleaner {
namespace {

const std::string kBuyerRule(rules::kBuyerList.path);
const std::string kBuyerMarker(rules::kBuyerEmpty.path);

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class RuleHealthReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { site.serve(kBuyerRule, "<li>([^<]*)</li>\n"); }

  PageReport readBuyers(const std::string& page) { return BuyerReader(run.context, "T", "http://item/1").read(page); }
  RuleCounts countsOf(const RuleFile& rule) const {
    for (const auto& [used, counts] : tally.counts()) {
      if (used == &rule) return counts;
    }
    return {};
  }

  testing::FakeSite site;
  RuleTally tally;
  testing::ReaderRun run{site.sites(), &tally};
};

TEST_F(RuleHealthReaderTest, APageWithoutRecordsIsToldEmptyOrNotByTheJobsMarker) {
  const std::string page = "<p class=\"none\">nothing here</p>";
  PageReport report = readBuyers(page);
  EXPECT_TRUE(report.withoutRecords());
  EXPECT_EQ(report.listRule, &rules::kBuyerList);
  EXPECT_EQ(report.emptyResult, EmptyResult::NoMarker) << "the rule server need not have a marker";
  EXPECT_TRUE(run.host.reports.empty());

  site.serve(kBuyerMarker, "<p\\s+class=\"none\">\n");
  EXPECT_EQ(readBuyers(page).emptyResult, EmptyResult::Empty);
  EXPECT_EQ(readBuyers("<p class=\"other\">").emptyResult, EmptyResult::NotEmpty);

  // A broken marker is reported like any rule; the page itself did not fail.
  site.serve(kBuyerMarker, "<p(\n");
  report = readBuyers(page);
  EXPECT_EQ(report.emptyResult, EmptyResult::MarkerFailed);
  EXPECT_FALSE(report.failed);
  ASSERT_EQ(run.host.reports.size(), 1u);
  EXPECT_TRUE(contains(run.host.reports[0], site.url(kBuyerMarker) + "\r\nPattern failed:")) << run.host.reports[0];

  // A page with records is not tried with the marker at all.
  const int markerHits = site.hits(kBuyerMarker);
  report = readBuyers("<li>nick,1</li><li> </li><li>nick,2</li>");
  EXPECT_EQ(report.records, 2) << "the blank buyer is no record";
  EXPECT_EQ(report.rows, 2);
  EXPECT_EQ(report.emptyResult, EmptyResult::NotChecked);
  EXPECT_EQ(site.hits(kBuyerMarker), markerHits);
}

TEST_F(RuleHealthReaderTest, EveryRuleUseIsCountedWithTheKindOfItsFailure) {
  // Two offers, each with its offer page read by the detail rule.
  site.serve(std::string(rules::kOfferList.path), R"(<li (offerid=[^ >]*) (memberid=[^ >]*)>(.*?)</li>)");
  site.serve(std::string(rules::kOfferDetail.path), "<h1>(.*?)</h1>");
  site.serve("/offer/1.html", "<h1></h1><h1>First</h1>");
  site.serve("/offer/2.html", "<h1>Second</h1>");
  const PageReport offers =
      OfferReader(run.context).read("<li offerid=\"1\" memberid=\"m1\">A</li><li offerid=\"2\" memberid=\"m2\">B</li>");
  EXPECT_EQ(offers.records, 2);
  EXPECT_EQ(countsOf(rules::kOfferList).applied, 1);
  EXPECT_EQ(countsOf(rules::kOfferList).matched, 2);
  EXPECT_EQ(countsOf(rules::kOfferDetail).applied, 2);
  EXPECT_EQ(countsOf(rules::kOfferDetail).matched, 3) << "the empty title, then the name";

  // A rule that is not there, one that does not compile, one that runs away.
  const PageReport sellers = SellerReader(run.context, "").read("<i>x</i>");
  EXPECT_TRUE(sellers.failed);
  EXPECT_EQ(sellers.emptyResult, EmptyResult::NotChecked);
  EXPECT_EQ(countsOf(rules::kProductList).downloadFailed, 1);
  EXPECT_EQ(countsOf(rules::kSellerEmpty).applied, 0) << "a failed page is not tried with the marker";

  site.serve(kBuyerRule, "<li>([^<]*</li>\n");
  EXPECT_TRUE(readBuyers("<li>a,1</li>").failed);
  site.serve(kBuyerRule, "<li>([^<]*)</li>|(?:a+)+b");
  const PageReport runaway = readBuyers("<li>n1,1</li>" + std::string(400 * 1024, 'a'));
  EXPECT_TRUE(runaway.failed);
  EXPECT_EQ(runaway.records, 1) << "the rows before the runaway stay";
  const RuleCounts buyers = countsOf(rules::kBuyerList);
  EXPECT_EQ(buyers.applied, 2);
  EXPECT_EQ(buyers.compileFailed, 1);
  EXPECT_EQ(buyers.runaway, 1);
  EXPECT_EQ(buyers.failed(), 2);
  EXPECT_EQ(tally.failures(), 3);
}

// The rule tester's way in: a rule text of the run's own is used instead of
// the rule server's, which is not asked for it.
TEST_F(RuleHealthReaderTest, TheRunsOwnRuleTextTakesThePlaceOfTheServers) {
  run.rules.useText(rules::kBuyerList, "<b>(\r\n[^<]*)</b>\r\n");
  const PageReport report = readBuyers("<li>x,1</li><b>nick,7</b>");
  EXPECT_EQ(report.records, 1);
  ASSERT_EQ(run.host.rows.size(), 1u);
  EXPECT_EQ(run.host.rows[0][1], "7\t");
  EXPECT_EQ(site.hits(kBuyerRule), 0);
  EXPECT_EQ(countsOf(rules::kBuyerList).applied, 1);
}

}  // namespace
}  // namespace gleaner
