// What a failure costs a page: a rule that cannot be had or used ends it
// (rows already found stay), a further page that cannot be had costs only
// its own cell. Each failure is reported once, with the address first.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "extract/BuyerReader.h"
#include "extract/FakeSite.h"
#include "extract/OfferReader.h"
#include "extract/ReaderRun.h"
#include "extract/SellerReader.h"
#include "text/Literals.h"

namespace gleaner {
namespace {

const std::string kBuyerRule = "/files/taobao/ExtractAllText.txt";
const std::string kOfferRule = "/files/ali/ExtractTextAImg.txt";
const std::string kDetailRule = "/files/ali/ExtractTextAImg01.txt";
const std::string kProductRule = "/files/taobao/ExtractTextAImg3.txt";
const std::string kBlockRule = "/files/taobao/ExtractImg.txt";
const std::string kSummaryRule = "/files/taobao/ExtractTextAImg31.txt";

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
bool startsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

class ReaderFailureTest : public ::testing::Test {
 protected:
  PageReport readBuyers(const std::string& page) { return BuyerReader(run.context, "T", "http://item/1").read(page); }
  PageReport readOffers(const std::string& page) { return OfferReader(run.context).read(page); }
  PageReport readSellers(const std::string& page) {
    return SellerReader(run.context, std::string(literals::kCreditLevels[5])).read(page);
  }
  std::string onlyReport() const {
    EXPECT_EQ(run.host.reports.size(), 1u);
    return run.host.reports.empty() ? std::string() : run.host.reports.front();
  }
  void serveOfferRules() {
    site.serve(kOfferRule, R"(<li (offerid=[^ >]*) (memberid=[^ >]*)>(.*?)</li>)");
    site.serve(kDetailRule, "<h1>(.*?)</h1>");
  }
  void serveSellerRules() {
    site.serve(kProductRule, R"(<i>(.*?)</i>)");
    site.serve(kBlockRule, R"(<s>(http[^"]*")\s*(.*?)</s>)");
    site.serve(kSummaryRule, R"(<c>(.*?)</c>)");
  }

  testing::FakeSite site;
  testing::ReaderRun run{site.sites()};
};

const std::string kThreeOffers = "<li offerid=\"1\" memberid=\"m1\">A</li><li offerid=\"2\" memberid=\"m2\">B</li>"
                                 "<li offerid=\"3\" memberid=\"m3\">C</li>";
// Two products of seller 9, known as N and M in their seller blocks.
const std::string kTwoProducts = "<i>P http://x?id=5</i><i>Q http://x?id=6</i>"
                                 "<s>http://y?user_number_id=9\" N 5</s><s>http://y?user_number_id=9\" M 6</s>";

TEST_F(ReaderFailureTest, RuleFileThatCannotBeDownloadedIsReportedLikeAFailedPage) {
  const std::string failedLine = site.url(kBuyerRule) + "\r\nDownload failed!\r\n";
  site.breakOff(kBuyerRule);
  EXPECT_TRUE(readBuyers("<li>a,b</li>").failed);
  site.stop();
  EXPECT_TRUE(readBuyers("<li>a,b</li>").failed);
  EXPECT_TRUE(run.host.rows.empty());
  const std::vector<std::string> reports = run.host.reports;
  ASSERT_EQ(reports.size(), 2u);
  // The reason follows on a line of its own.
  EXPECT_TRUE(startsWith(reports[0], failedLine + site.url(kBuyerRule) + ": ")) << reports[0];
  EXPECT_TRUE(startsWith(reports[1], failedLine)) << reports[1];
}

TEST_F(ReaderFailureTest, EmptyAndBrokenPatternsAreReportedWithTheRuleAddress) {
  site.serve(kBuyerRule, "");
  EXPECT_TRUE(readBuyers("<li>a,b</li>").failed);
  EXPECT_TRUE(contains(onlyReport(), site.url(kBuyerRule) + "\r\nPattern failed: pattern is empty"));

  site.serve(kBuyerRule, "<li>([^<]*</li>\n");
  EXPECT_TRUE(readBuyers("<li>a,b</li>").failed);
  const std::vector<std::string> reports = run.host.reports;
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_TRUE(contains(reports[1], "Pattern failed: pattern does not compile")) << reports[1];
  EXPECT_TRUE(run.host.rows.empty());
}

TEST_F(ReaderFailureTest, RunawayPatternOnALargePageEndsThePageAndKeepsEarlierRows) {
  // Rows come from the buyers at the top of the page; the nested quantifier
  // then blows up on the long run of "a" without any "<li>".
  site.serve(kBuyerRule, "<li>([^<]*)</li>|(?:a+)+b");
  const std::string page = "<li>n1,1</li><li>n2,2</li>" + std::string(400 * 1024, 'a');
  const auto start = std::chrono::steady_clock::now();
  const PageReport report = readBuyers(page);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_TRUE(report.failed);
  EXPECT_EQ(report.rows, 2);
  EXPECT_EQ(run.host.rows.size(), 2u);
  EXPECT_TRUE(contains(onlyReport(), "Pattern failed: pattern search too expensive"));
}

// The offer's row is kept without its product name, and the page goes on
// with the next offer.
TEST_F(ReaderFailureTest, AnOfferPageThatCannotBeHadLeavesOnlyItsProductNameEmpty) {
  serveOfferRules();
  site.serve("/offer/1.html", "<h1>First</h1>");
  site.breakOff("/offer/2.html");
  site.serve("/offer/3.html", "<h1>Third</h1>");
  const PageReport report = readOffers(kThreeOffers);
  const std::vector<ResultRow> expected = {
      {"First\t", "A\t", "m1", site.url("/offer/1.html")},
      {"", "B\t", "m2", site.url("/offer/2.html")},
      {"Third\t", "C\t", "m3", site.url("/offer/3.html")},
  };
  EXPECT_EQ(run.host.rows, expected);
  EXPECT_FALSE(report.failed);
  EXPECT_EQ(report.rows, 3);
  EXPECT_EQ(report.lookupsFailed, 1);
  EXPECT_TRUE(startsWith(onlyReport(), site.url("/offer/2.html") + "\r\nDownload failed!\r\n")) << onlyReport();
  // The detail rule reads only the pages that came.
  EXPECT_EQ(site.hits(kDetailRule), 2);
}

// Without a rating page there is no score: no level, which every filter lets
// pass, so the seller's row is kept with the bare label in the level cell.
TEST_F(ReaderFailureTest, ARatingPageThatCannotBeHadGivesTheLevelCellWithoutAScore) {
  serveSellerRules();
  site.breakOff("/user-rate-9.htm");
  const PageReport report = readSellers(kTwoProducts);
  const std::string cell = ", " + std::string(literals::kSellerCreditLabelCell);
  const std::vector<ResultRow> expected = {{"P", "9", "N5\t", cell}, {"Q", "9", "M6\t", cell}};
  EXPECT_EQ(run.host.rows, expected);
  EXPECT_FALSE(report.failed);
  EXPECT_EQ(report.lookupsFailed, 2);
  ASSERT_EQ(run.host.reports.size(), 2u);
  for (const std::string& line : run.host.reports) {
    EXPECT_TRUE(startsWith(line, site.url("/user-rate-9.htm") + "\r\nDownload failed!\r\n")) << line;
  }
  EXPECT_EQ(site.hits(kSummaryRule), 0);
}

// A lookup's rule is a rule like the list rule: when its file cannot be had
// (the rule server's 404 page is no pattern) or does not compile, the page
// ends there, before the row of the record in hand.
TEST_F(ReaderFailureTest, ALookupRuleThatCannotBeHadOrCompiledEndsThePage) {
  struct Case {
    const char* what;
    std::string rulePath;
    std::string ruleText;  // empty: the rule server does not have it
    std::string reportPart;
  };
  // A missing rule file's report names the status the rule server gave.
  const auto missing = [this](const std::string& rule) {
    return site.url(rule) + "\r\nDownload failed!\r\n" + site.url(rule) + ": no rule file there (status 404)\r\n";
  };
  // The case's rule in place of the good one, and no report yet.
  const auto breakRule = [this](const Case& c) {
    if (c.ruleText.empty()) {
      site.remove(c.rulePath);
    } else {
      site.serve(c.rulePath, c.ruleText);
    }
    run.host.reports.clear();
  };
  const Case offerCases[] = {
      {"missing detail rule", kDetailRule, "", missing(kDetailRule)},
      {"broken detail rule", kDetailRule, "<h1>(.*?</h1>", site.url(kDetailRule) + "\r\nPattern failed:"},
  };
  site.serve("/offer/1.html", "<h1>First</h1>");
  for (const Case& c : offerCases) {
    SCOPED_TRACE(c.what);
    serveOfferRules();
    breakRule(c);
    const PageReport report = readOffers(kThreeOffers);
    EXPECT_TRUE(report.failed);
    EXPECT_TRUE(run.host.rows.empty());
    EXPECT_TRUE(contains(onlyReport(), c.reportPart)) << onlyReport();
    EXPECT_EQ(site.hits("/offer/2.html"), 0);
  }

  site.serve("/user-rate-9.htm", "<c>77<a href=x></c>");
  const Case sellerCases[] = {
      {"broken seller block rule", kBlockRule, "(", site.url(kBlockRule) + "\r\nPattern failed:"},
      {"missing rating rule", kSummaryRule, "", missing(kSummaryRule)},
  };
  for (const Case& c : sellerCases) {
    SCOPED_TRACE(c.what);
    serveSellerRules();
    breakRule(c);
    const int ratingHits = site.hits("/user-rate-9.htm");
    const PageReport report = readSellers(kTwoProducts);
    EXPECT_TRUE(report.failed);
    EXPECT_TRUE(run.host.rows.empty());
    EXPECT_TRUE(contains(onlyReport(), c.reportPart)) << onlyReport();
    EXPECT_LE(site.hits("/user-rate-9.htm") - ratingHits, 1) << "the second product was never reached";
  }
}

}  // namespace
}  // namespace gleaner
