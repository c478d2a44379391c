#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/MemoryWindow.h"
#include "extract/FakeSite.h"
#include "extract/PageExtractor.h"

namespace gleaner {
namespace {

const std::string kBuyerRule = "/files/taobao/ExtractAllText.txt";
const std::string kOfferRule = "/files/ali/ExtractTextAImg.txt";
const std::string kDetailRule = "/files/ali/ExtractTextAImg01.txt";

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ExtractorFailureTest : public ::testing::Test {
 protected:
  void extractBuyers(const std::string& page) {
    PageExtractor extractor(window, site.sites());
    extractor.BuyerListExtractor(page);
  }
  void extractOffers(const std::string& page) {
    PageExtractor extractor(window, site.sites());
    extractor.OfferListExtractor(page);
  }
  std::string onlyReport() const {
    const std::vector<std::string> reports = window.reports();
    EXPECT_EQ(reports.size(), 1u);
    return reports.empty() ? std::string() : reports.front();
  }

  testing::FakeSite site;
  MemoryWindow window;
};

bool startsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

TEST_F(ExtractorFailureTest, RuleFileThatCannotBeDownloadedIsReportedLikeAFailedPage) {
  const std::string failedLine = site.url(kBuyerRule) + "\r\nDownload failed!\r\n";
  site.breakOff(kBuyerRule);
  extractBuyers("<li>a,b</li>");
  site.stop();
  extractBuyers("<li>a,b</li>");
  EXPECT_TRUE(window.rows().empty());
  const std::vector<std::string> reports = window.reports();
  ASSERT_EQ(reports.size(), 2u);
  // The reason follows on a line of its own.
  EXPECT_TRUE(startsWith(reports[0], failedLine + site.url(kBuyerRule) + ": ")) << reports[0];
  EXPECT_TRUE(startsWith(reports[1], failedLine)) << reports[1];
  // Reports of this kind are not counted.
  EXPECT_EQ(window.reportCount(), 0);
}

TEST_F(ExtractorFailureTest, EmptyAndBrokenPatternsAreReportedWithTheRuleAddress) {
  site.serve(kBuyerRule, "");
  extractBuyers("<li>a,b</li>");
  EXPECT_TRUE(contains(onlyReport(), site.url(kBuyerRule) + "\r\nPattern failed: pattern is empty"));

  site.serve(kBuyerRule, "<li>([^<]*</li>\n");
  extractBuyers("<li>a,b</li>");
  const std::vector<std::string> reports = window.reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_TRUE(contains(reports[1], "Pattern failed: pattern does not compile")) << reports[1];
  EXPECT_TRUE(window.rows().empty());
}

TEST_F(ExtractorFailureTest, RunawayPatternOnALargePageEndsThePageAndKeepsEarlierRows) {
  // Rows come from the buyers at the top of the page; the nested quantifier
  // then blows up on the long run of "a" without any "<li>".
  site.serve(kBuyerRule, "<li>([^<]*)</li>|(?:a+)+b");
  const std::string page = "<li>n1,1</li><li>n2,2</li>" + std::string(400 * 1024, 'a');
  const auto start = std::chrono::steady_clock::now();
  extractBuyers(page);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_EQ(window.rows().size(), 2u);
  EXPECT_EQ(window.countDisplay(), "2");
  EXPECT_TRUE(contains(onlyReport(), "Pattern failed: pattern search too expensive"));
}

TEST_F(ExtractorFailureTest, OfferPageFailureEndsThePageAndLeavesNoCountWithoutARow) {
  site.serve(kOfferRule, R"(<li (offerid=[^ >]*) (memberid=[^ >]*)>(.*?)</li>)");
  site.serve(kDetailRule, "<h1>(.*?)</h1>");
  site.serve("/offer/1.html", "<h1>First</h1>");
  site.breakOff("/offer/2.html");
  site.serve("/offer/3.html", "<h1>Third</h1>");
  extractOffers("<li offerid=\"1\" memberid=\"m1\">A</li><li offerid=\"2\" memberid=\"m2\">B</li>"
                "<li offerid=\"3\" memberid=\"m3\">C</li>");
  ASSERT_EQ(window.rows().size(), 1u);
  EXPECT_EQ(window.rows()[0][0], "First\t");
  EXPECT_EQ(window.runFields().offerRowCounter, 1);
  EXPECT_EQ(window.countDisplay(), "1");
  EXPECT_TRUE(startsWith(onlyReport(), site.url("/offer/2.html") + "\r\nDownload failed!\r\n"));
  EXPECT_EQ(site.hits("/offer/3.html"), 0);
}

TEST_F(ExtractorFailureTest, BrokenDetailRuleEndsThePageBeforeAnyRow) {
  site.serve(kOfferRule, R"(<li (offerid=[^ >]*) (memberid=[^ >]*)>(.*?)</li>)");
  site.serve(kDetailRule, "<h1>(.*?</h1>");
  site.serve("/offer/1.html", "<h1>First</h1>");
  extractOffers("<li offerid=\"1\" memberid=\"m1\">A</li><li offerid=\"2\" memberid=\"m2\">B</li>");
  EXPECT_TRUE(window.rows().empty());
  EXPECT_EQ(window.runFields().offerRowCounter, 0);
  EXPECT_TRUE(contains(onlyReport(), site.url(kDetailRule) + "\r\nPattern failed:"));
  EXPECT_EQ(site.hits(kDetailRule), 1);
}

TEST_F(ExtractorFailureTest, LookupsReportTheirFailureAndReturnEmpty) {
  PageExtractor extractor(window, site.sites());
  // A missing rule file is no pattern: the rule server's 404 page is not
  // taken for one (it would match nothing and hide the fault).
  EXPECT_EQ(extractor.OfferDetailExtractor("<h1>x</h1>"), "");
  ASSERT_EQ(window.reports().size(), 1u);
  EXPECT_TRUE(contains(window.reports()[0], site.url(kDetailRule) + "\r\nDownload failed!\r\n")) << window.reports()[0];
  EXPECT_TRUE(contains(window.reports()[0], "status 404")) << window.reports()[0];
  site.serve("/files/taobao/ExtractImg.txt", "(");
  EXPECT_EQ(extractor.SellerBlockLookup("<p>1</p>", "1"), "");
  site.stop();
  EXPECT_EQ(extractor.RatingSummaryLookup("<a href=x>"), "");
  EXPECT_EQ(window.reports().size(), 3u);
}

TEST_F(ExtractorFailureTest, SellerRatingPageThatCannotBeDownloadedEndsThePage) {
  site.serve("/files/taobao/ExtractTextAImg3.txt", R"(<i>(.*?)</i>)");
  site.serve("/files/taobao/ExtractImg.txt", R"(<s>(http[^"]*")\s*(.*?)</s>)");
  site.serve("/files/taobao/ExtractTextAImg31.txt", R"(<c>(.*?)</c>)");
  site.breakOff("/user-rate-9.htm");
  PageExtractor extractor(window, site.sites());
  extractor.SellerExtractor("<i>P http://x?id=5</i><i>Q http://x?id=6</i><s>http://y?user_number_id=9\" N 5 6</s>");
  EXPECT_TRUE(window.rows().empty());
  EXPECT_TRUE(startsWith(onlyReport(), site.url("/user-rate-9.htm") + "\r\nDownload failed!\r\n"));
  // The second product was never reached.
  EXPECT_EQ(site.hits("/user-rate-9.htm"), 1);
}

}  // namespace
}  // namespace gleaner
