#include "extract/SellerReader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "extract/FakeSite.h"
#include "extract/ReaderRun.h"
#include "text/Literals.h"

namespace gleaner {
namespace {

using literals::kCreditLevels;

const std::string kProductRule = "/files/taobao/ExtractTextAImg3.txt";
const std::string kBlockRule = "/files/taobao/ExtractImg.txt";
const std::string kSummaryRule = "/files/taobao/ExtractTextAImg31.txt";
const std::string kPageLabel(literals::kSellerCreditLabelPage);  // 卖家信用：
const std::string kCellLabel(literals::kSellerCreditLabelCell);  // 卖家信用: 

std::string level(int band) { return std::string(kCreditLevels[static_cast<std::size_t>(band)]); }

// A product gives "name<TAB>address<TAB>"; a seller block gives
// "nick<TAB>link ending in a double quote<TAB>item id<TAB>".
std::string product(const std::string& name, const std::string& address) {
  return "<div class=\"item\"><a href=\"" + address + "\">" + name + "</a></div>\r\n";
}
std::string sellerBlock(const std::string& itemId, const std::string& link, const std::string& nick) {
  return "<div class=\"shop\" data-item=\"" + itemId + "\"><a class=\"nick\" href=\"" + link + "\">" + nick +
         "</a></div>\r\n";
}
std::string ratingPage(const std::string& summary) {
  return "<html><div class=\"credit\">" + summary + "</div></html>\r\n";
}
std::string ratingPath(const std::string& sellerId) { return "/user-rate-" + sellerId + ".htm"; }

class SellerReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site.serve(kProductRule, "<div class=\"item\"><a href=\"([^\"]*)\">(.*?)</a></div>");
    site.serve(kBlockRule, "<div class=\"shop\" data-item=\"(\\d+)\">\n<a class=\"nick\" href=\"(http[^\"]*\")>([^<]*)</a>\n");
    site.serve(kSummaryRule, "<div class=\"credit\">(.*?)</div>");
  }

  // levelFilter: the level box's text.
  PageReport read(const std::string& page, const std::string& levelFilter = std::string(literals::kAllCreditLevels)) {
    return SellerReader(run.context, levelFilter).read(page);
  }

  // Three products whose sellers stand at 1钻, 2钻 and below the first band.
  std::string threeLevelsPage() {
    site.serve(ratingPath("301"), ratingPage(kPageLabel + "300<a href=\"/more\">more</a>"));
    site.serve(ratingPath("601"), ratingPage(kPageLabel + "600<a href=\"/more\">more</a>"));
    site.serve(ratingPath("3"), ratingPage(kPageLabel + "3<a href=\"/more\">more</a>"));
    return product("One", "http://i.test/item.htm?id=11") + product("Two", "http://i.test/item.htm?id=22") +
           product("Three", "http://i.test/item.htm?id=33") +
           sellerBlock("11", "http://s.test/?user_number_id=301", "Low") +
           sellerBlock("22", "http://s.test/?user_number_id=601", "Mid") +
           sellerBlock("33", "http://s.test/?user_number_id=3", "New");
  }

  std::vector<std::string> productNames() const {
    std::vector<std::string> names;
    for (const ResultRow& row : run.host.rows) names.push_back(row[0]);
    return names;
  }

  testing::FakeSite site;
  testing::ReaderRun run{site.sites()};
};

TEST_F(SellerReaderTest, BuildsRowsFromProductSellerAndRatingAndPausesAfterEveryProduct) {
  site.serve(ratingPath("456"), ratingPage(kPageLabel + "1234<a href=\"/more\">more</a>"));
  site.serve(ratingPath("789"), ratingPage(kPageLabel + "3<a href=\"/more\">more</a>"));
  const std::string page =
      product("Red Shoe", "http://i.test/item.htm?id=123&ns=1") +
      product(std::string(literals::kReportItem), "http://i.test/item.htm?id=999") +
      product("", "") +
      product("Blue Coat", "http://i.test/item.htm?id=124") +
      sellerBlock("123", "http://s.test/shop?user_number_id=456", "Nick Name") +
      sellerBlock("124", "http://s.test/shop?user_number_id=789", "Newbie");

  const auto start = std::chrono::steady_clock::now();
  const PageReport report = read(page);
  const auto elapsed = std::chrono::steady_clock::now() - start;

  const std::vector<ResultRow> expected = {
      {"RedShoe\t", "456", "NickName\t", level(7) + ", " + kCellLabel + "1234"},
      // Below the first band: an empty level passes and the cell starts with ", ".
      {"BlueCoat\t", "789", "Newbie\t", ", " + kCellLabel + "3"},
  };
  EXPECT_EQ(run.host.rows, expected);
  EXPECT_EQ(report.records, 3) << "the empty product is no record";
  EXPECT_EQ(report.rows, 2);
  // The reported and the empty product cost no download; the others one of each.
  EXPECT_EQ(site.hits(kProductRule), 1);
  EXPECT_EQ(site.hits(kBlockRule), 2);
  EXPECT_EQ(site.hits(kSummaryRule), 2);
  // Skipped records are followed by the pause too.
  EXPECT_GE(elapsed, std::chrono::milliseconds(4 * 500));
}

TEST_F(SellerReaderTest, LevelFilterLetsNamedLevelsAndUnratedSellersPass) {
  const std::string page = threeLevelsPage();

  read(page, level(5));  // 1钻
  EXPECT_EQ(productNames(), (std::vector<std::string>{"One\t", "Three\t"}));

  run.host.rows.clear();
  read(page, level(5) + "," + level(6));  // typed "1钻,2钻"
  EXPECT_EQ(productNames(), (std::vector<std::string>{"One\t", "Two\t", "Three\t"}));

  run.host.rows.clear();
  read(page, "");
  EXPECT_EQ(productNames(), (std::vector<std::string>{"Three\t"}));
}

TEST_F(SellerReaderTest, ProductsWithoutSellerOrUsableRatingGiveNoRow) {
  site.serve(ratingPath("321"), ratingPage(kPageLabel + "50 href"));  // summary without "<"
  const std::string page = product("No Key", "http://i.test/item.htm") +
                           product("Orphan", "http://i.test/item.htm?id=777") +
                           product("Odd", "http://i.test/item.htm?id=55") +
                           sellerBlock("55", "http://s.test/?user_number_id=321", "Odd Seller");
  read(page);
  EXPECT_TRUE(run.host.rows.empty());
  // The product without "id=" is not looked up; the orphan finds no block
  // and so fetches no rating page.
  EXPECT_EQ(site.hits(kBlockRule), 2);
  EXPECT_EQ(site.hits(ratingPath("321")), 1);
  EXPECT_EQ(site.hits(kSummaryRule), 1);
  EXPECT_TRUE(run.host.reports.empty());
}

TEST_F(SellerReaderTest, SellerBlockLookupRemovesSpacesFromBlocksButNotFromTheId) {
  const std::string page = sellerBlock("41", "http://s.test/a?user_number_id=1", "First") +
                           sellerBlock("42", "http://s.test/my shop?user_number_id=5", "Second");
  SellerReader reader(run.context, "");
  EXPECT_EQ(reader.sellerBlockOf(page, "42"), "Second\thttp://s.test/myshop?user_number_id=5\"\t42\t");
  EXPECT_EQ(reader.sellerBlockOf(page, "myshop"), "Second\thttp://s.test/myshop?user_number_id=5\"\t42\t");
  EXPECT_EQ(reader.sellerBlockOf(page, "my shop"), "");
}

TEST_F(SellerReaderTest, RatingSummaryLookupTakesTheFirstRecordWithHref) {
  SellerReader reader(run.context, "");
  const std::string page = ratingPage("plain") + ratingPage(kPageLabel + "77<a href=\"x\">") + ratingPage("href2");
  EXPECT_EQ(reader.ratingSummaryOf(page), kPageLabel + "77<ahref=x>\t\r\n");
  EXPECT_EQ(reader.ratingSummaryOf(ratingPage("no link")), "");
}

TEST(CreditLevelText, BandsAndTheirBounds) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"3", ""},           {"0", ""},          {"-50", ""},       {"abc", ""},
      {"4", level(0)},     {"10", level(0)},   {"11", level(1)},  {"40", level(1)},
      {"41", level(2)},    {"250", level(4)},  {"251", level(5)}, {"10000", level(9)},
      {"10001", level(10)}, {"500000", level(14)}, {"500001", level(15)},
      {"10000000", level(18)}, {"10000001", level(19)}, {"99999999999", level(19)},
      // Leading blanks are skipped; reading stops at the first non-digit.
      {" \t1234", level(7)}, {"1234abc", level(7)}, {"+41", level(2)},
  };
  for (const auto& [score, expected] : cases) {
    EXPECT_EQ(creditLevelText(score), expected) << "score " << score;
  }
}

}  // namespace
}  // namespace gleaner
