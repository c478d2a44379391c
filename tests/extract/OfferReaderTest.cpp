#include "extract/OfferReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/FakeSite.h"
#include "extract/ReaderRun.h"

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

class OfferReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site.serve(kListRule, kListPattern + "\n");
    site.serve(kDetailRule, "<h1>(.*?)</h1>\n");
  }

  PageReport read(const std::string& page) { return OfferReader(run.context).read(page); }

  std::string offerAddress(const std::string& id) const { return site.url("/offer/" + id + ".html"); }

  testing::FakeSite site;
  testing::ReaderRun run{site.sites()};
};

TEST_F(OfferReaderTest, CutsMerchantMemberAndOfferAndReadsTheProductName) {
  site.serve("/offer/501.html", "<h1>Walnut Kernels (1kg)</h1>\r\n");
  site.serve("/offer/502.html", "<h1> </h1><h1>Dried Dates</h1>\r\n");
  site.serve("/offer/503.html", "<p>no title here</p>\r\n");

  const PageReport report = read(offer("offerid=\"501\"", "memberid=\"shop1\"", "Big Farm") +
                                 offer("offerid=\"502\"", "memberid='b2b-m'", "Old Mill") +
                                 offer("offerid=\"503\"", "memberid=\"\"", "Third"));

  const std::vector<ResultRow> expected = {
      {"WalnutKernels1kg\t", "BigFarm\t", "shop1", offerAddress("501")},
      // The first detail record is empty; the second names the product.
      {"DriedDates\t", "OldMill\t", "b2b-m", offerAddress("502")},
      // An 11-character member text leaves no member ID; a detail page
      // without a match leaves no product name, and the row still comes.
      {"", "Third\t", "", offerAddress("503")},
  };
  EXPECT_EQ(run.host.rows, expected);
  EXPECT_EQ(report.records, 3);
  EXPECT_EQ(report.rows, 3);
  EXPECT_FALSE(report.failed);
  EXPECT_EQ(site.hits(kListRule), 1);
  EXPECT_EQ(site.hits(kDetailRule), 3);
  EXPECT_TRUE(run.host.reports.empty());
}

TEST(CutOfferRecord, KeySearchesAreCaseSensitiveAndTheOfferKeyFollowsTheMemberKey) {
  // The pattern matched the capitals, the cuts do not find the keys: the
  // offer ID is the whole record less its tabs, first nine and last bytes.
  OfferRecord cut = cutOfferRecord("Name\tMEMBERID=_m1_\tOFFERID=_o1_\t", "d.example");
  EXPECT_EQ(cut.merchantName, "");
  EXPECT_EQ(cut.memberId, "");
  EXPECT_EQ(cut.offerAddress, "http://d.example/offer/RID=_m1_OFFERID=_o1.html");

  // The only lower-case "offerid=" stands in the merchant's field, before
  // "memberid=": it stays in the merchant name, the member ID is empty and
  // the offer ID is cut from the member part.
  cut = cutOfferRecord("Shopofferid=_9_\tmemberid=_m1_\tOFFERID=_o1_\t", "d.example");
  EXPECT_EQ(cut.merchantName, "Shopofferid=_9_\t");
  EXPECT_EQ(cut.memberId, "");
  EXPECT_EQ(cut.offerAddress, "http://d.example/offer/_m1_OFFERID=_o1.html");
}

// Besides its rule, a page without records asks only for the job's
// empty-result marker, which the rule server need not have.
TEST_F(OfferReaderTest, PageWithoutMatchesFetchesOnlyItsRuleAndTheEmptyResultMarker) {
  const PageReport report = read("<html>no offers</html>");
  EXPECT_TRUE(run.host.rows.empty());
  EXPECT_EQ(report.emptyResult, EmptyResult::NoMarker);
  EXPECT_EQ(site.hits("/files/ali/EmptyOfferSearch.txt"), 1);
  EXPECT_EQ(site.totalHits(), 2);
  EXPECT_TRUE(run.host.reports.empty()) << "a marker the server does not have is no failure";
}

}  // namespace
}  // namespace gleaner
