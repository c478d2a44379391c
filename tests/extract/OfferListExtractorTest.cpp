#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/MemoryWindow.h"
#include "extract/FakeSite.h"
#include "extract/PageExtractor.h"

namespace gleaner {
namespace {

const std::string kListRule = "/files/ali/ExtractTextAImg.txt";
const std::string kDetailRule = "/files/ali/ExtractTextAImg01.txt";

// Groups: 1 the offer key, 2 the member key, 3 the merchant (highest, cleaned),
// so a record reads merchant, member key, offer key.
const std::string kListPattern = R"(<li (offerid=[^ >]*)\s+(memberid=[^ >]*)><a>(.*?)</a></li>)";

std::string offer(const std::string& offerKey, const std::string& memberKey, const std::string& merchant) {
  return "<li " + offerKey + " " + memberKey + "><a>" + merchant + "</a></li>\r\n";
}

class OfferListExtractorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site.serve(kListRule, kListPattern + "\n");
    site.serve(kDetailRule, "<h1>(.*?)</h1>\n");
  }

  void extract(const std::string& page) {
    PageExtractor extractor(window, site.sites());
    extractor.OfferListExtractor(page);
  }

  std::string offerAddress(const std::string& id) const { return site.url("/offer/" + id + ".html"); }

  testing::FakeSite site;
  MemoryWindow window;
};

TEST_F(OfferListExtractorTest, CutsMerchantMemberAndOfferAndReadsTheProductName) {
  site.serve("/offer/501.html", "<h1>Walnut Kernels (1kg)</h1>\r\n");
  site.serve("/offer/502.html", "<h1> </h1><h1>Dried Dates</h1>\r\n");
  site.serve("/offer/503.html", "<p>no title here</p>\r\n");
  window.appendRow({"earlier", "", "", ""}, "1");

  extract(offer("offerid=\"501\"", "memberid=\"shop1\"", "Big Farm") +
          offer("offerid=\"502\"", "memberid='b2b-m'", "Old Mill") +
          offer("offerid=\"503\"", "memberid=\"\"", "Third"));

  const std::vector<ResultRow> expected = {
      {"earlier", "", "", ""},
      {"WalnutKernels1kg\t", "BigFarm\t", "shop1", offerAddress("501")},
      // The first detail record is empty; the second names the product.
      {"DriedDates\t", "OldMill\t", "b2b-m", offerAddress("502")},
      // An 11-character member text leaves no member ID; a detail page
      // without a match leaves no product name, and the row still comes.
      {"", "Third\t", "", offerAddress("503")},
  };
  EXPECT_EQ(window.rows(), expected);
  EXPECT_EQ(window.runFields().offerRowCounter, 3);
  EXPECT_EQ(window.countDisplay(), "3");
  EXPECT_EQ(site.hits(kListRule), 1);
  EXPECT_EQ(site.hits(kDetailRule), 3);
}

TEST_F(OfferListExtractorTest, KeySearchesAreCaseSensitive) {
  // The pattern matches the capitals, the cuts do not find the keys: the
  // offer ID is the whole record less its tabs, first nine and last bytes.
  site.serve("/offer/RID=_m1_OFFERID=_o1.html", "<h1>Found</h1>\r\n");
  extract(offer("OFFERID=_o1_", "MEMBERID=_m1_", "Name"));
  const std::vector<ResultRow> expected = {{"Found\t", "", "", offerAddress("RID=_m1_OFFERID=_o1")}};
  EXPECT_EQ(window.rows(), expected);
}

TEST_F(OfferListExtractorTest, OfferKeyIsOnlyLookedForAfterTheMemberKey) {
  // The only lower-case "offerid=" stands in the merchant's field, before
  // "memberid=": it stays in the merchant name, the member ID is empty and
  // the offer ID is cut from the member part.
  site.serve("/offer/_m1_OFFERID=_o1.html", "<h1>Found</h1>\r\n");
  extract(offer("OFFERID=_o1_", "memberid=_m1_", "Shop offerid=_9_"));
  const std::vector<ResultRow> expected = {{"Found\t", "Shopofferid=_9_\t", "", offerAddress("_m1_OFFERID=_o1")}};
  EXPECT_EQ(window.rows(), expected);
}

// Besides its rule, a page without records asks only for the job's
// empty-result marker, which the rule server need not have.
TEST_F(OfferListExtractorTest, PageWithoutMatchesFetchesOnlyItsRuleAndTheEmptyResultMarker) {
  window.runFields().offerRowCounter = 4;
  extract("<html>no offers</html>");
  EXPECT_TRUE(window.rows().empty());
  EXPECT_EQ(window.runFields().offerRowCounter, 4);
  EXPECT_EQ(site.hits("/files/ali/EmptyOfferSearch.txt"), 1);
  EXPECT_EQ(site.totalHits(), 2);
  EXPECT_TRUE(window.reports().empty()) << "a marker the server does not have is no failure";
}

}  // namespace
}  // namespace gleaner
