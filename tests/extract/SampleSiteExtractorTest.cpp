// The extractors over the sample site, reached under the real host names
// through the connect-to map as the programs reach it: exact cells and
// counters of chosen pages, the traps, and the requests each page costs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/MemoryWindow.h"
#include "extract/PageExtractor.h"
#include "extract/RuleFetcher.h"
#include "net/InternetClient.h"
#include "sample-site/SampleSite.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner::sample {
namespace {

std::string gbkText(const char* utf8) { return gbk::fromUtf8(utf8); }

class SampleSiteExtractors : public ::testing::Test {
 protected:
  void SetUp() override {
    site.start();
    previousConnectTo = InternetClient::connectTo();
    InternetClient::setConnectTo(ConnectTo::parse(site.connectToList()));
    sites.ruleServer = "127.0.0.1:" + std::to_string(site.port());
  }
  void TearDown() override {
    InternetClient::setConnectTo(previousConnectTo);
    site.stop();
  }

  // A page as the worker hands it over, fetched under its real address.
  std::string fetch(const std::string& address) {
    const std::string page = RuleFetcher(address);
    site.clearRequests();
    return page;
  }

  std::vector<std::string> targetsOn(const std::string& host) const {
    std::vector<std::string> targets;
    for (const SiteRequest& request : site.requests()) {
      if (request.host == host) targets.push_back(request.target);
    }
    return targets;
  }

  SampleSite site;
  ConnectTo previousConnectTo;
  Sites sites;
  MemoryWindow window;
};

TEST_F(SampleSiteExtractors, OfferListGivesOneRowPerOfferWithItsOfferPagesName) {
  const std::string page =
      fetch("http://s.1688.com/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2&sortType=normal&button_click=top"
            "&earseDirect=false&n=y#beginPage=1");
  window.runFields().offerRowCounter = 5;  // rows of an earlier page
  PageExtractor(window, sites).OfferListExtractor(page);

  const std::vector<ResultRow> rows = window.rows();
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(window.runFields().offerRowCounter, 17);
  EXPECT_EQ(window.countDisplay(), "17");
  EXPECT_EQ(rows[0], (ResultRow{gbkText("2013新货核桃XL码特价促销") + "\t", gbkText("温州億家日用品厂") + "\t",
                                "b2b-2918597581", "http://detail.1688.com/offer/55868081006.html"}));
  EXPECT_EQ(rows[1][0], gbkText("億家精选核桃奶油味送礼盒包邮") + "\t");
  EXPECT_EQ(rows[1][1], gbkText("临安市花園工艺品贸易有限公司") + "\t");
  // A member id that is a plain login name.
  EXPECT_EQ(rows[2][2], "hzxinyuan1882");
  // The withdrawn offer: its page names no product, the row still comes.
  EXPECT_EQ(rows[3], (ResultRow{"", gbkText("广州市東方农产品经营部") + "\t", "b2b-1293139113",
                                "http://detail.1688.com/offer/67284794000.html"}));

  // One rule file for the page, then each offer's page and the rule that reads it.
  const std::vector<Offer> offers = SampleCatalog::offerSearch(gbkText("核桃"), 1);
  std::vector<SiteRequest> expected = {{sites.ruleServer, "/files/ali/ExtractTextAImg.txt"}};
  for (const Offer& offer : offers) {
    expected.push_back({"detail.1688.com", "/offer/" + offer.offerId + ".html"});
    expected.push_back({sites.ruleServer, "/files/ali/ExtractTextAImg01.txt"});
  }
  EXPECT_EQ(site.requests(), expected);
}

TEST_F(SampleSiteExtractors, BuyerListGivesOneRowPerBuyerAndSkipsTheGoneAccount) {
  const std::string page = fetch(
      "http://rate.taobao.com/detail_rate.htm?userNumId=165826381&auctionNumId=19793658234&showContent=1&currentPage=2");
  RunContext run;
  run.settings.itemTitle = "T\t\r\n";
  run.settings.itemAddress = "http://item.taobao.com" + std::string(literals::kSampleItemPath);
  PageExtractor(window, sites, run).BuyerListExtractor(page);

  const ReviewPage reviews = SampleCatalog::reviews(kSampleItemId, 2);
  const std::vector<ResultRow> rows = window.rows();
  ASSERT_EQ(rows.size(), reviews.reviews.size() - 1);
  const std::string itemAddress = "http://item.taobao.com" + std::string(literals::kSampleItemPath);
  EXPECT_EQ(rows[0], (ResultRow{"T\t\r\n", "1486602259\t", gbkText("走***8"), itemAddress}));
  EXPECT_EQ(rows[4], (ResultRow{"T\t\r\n", "2111137202\t", gbkText("花***哥"), itemAddress}));
  EXPECT_EQ(rows[5][2], gbkText("億***8"));
  EXPECT_EQ(window.runFields().buyerRowCounter, static_cast<int>(rows.size()));
  EXPECT_EQ(site.requests(), (std::vector<SiteRequest>{{sites.ruleServer, "/files/taobao/ExtractAllText.txt"}}));
}

TEST_F(SampleSiteExtractors, ItemPageProbeFindsTheReviewAddressAndTitle) {
  const Item item = SampleCatalog::item(kSampleItemId);
  const std::string result =
      PageExtractor(window, sites).ItemPageProbe(fetch("http://item.taobao.com" + std::string(literals::kSampleItemPath)));
  EXPECT_EQ(result, "http://rate.taobao.com/detail_rate.htm?userNumId=" + item.seller.sellerId +
                        "&auctionNumId=19793658234&showContent=1&currentPage=1#" +
                        gbkText("厂家直销羽绒服限量版数量有限淘宝网") + "\t\r\n");

  const std::string none =
      PageExtractor(window, sites).ItemPageProbe(fetch("http://item.taobao.com/item.htm?id=10000000001"));
  ASSERT_FALSE(none.empty());
  EXPECT_EQ(none[0], '#');
}

TEST_F(SampleSiteExtractors, SellersOfTheFirstPageWithEveryLevel) {
  const std::string page = fetch("http://s.taobao.com/search?&q=%BA%CB%CC%D2&s=0");
  RunContext run;
  run.settings.levelFilterText = std::string(literals::kAllCreditLevels);
  PageExtractor(window, sites, run).SellerExtractor(page);

  const std::string cell = std::string(literals::kSellerCreditLabelCell);
  const std::vector<ResultRow> rows = window.rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (ResultRow{gbkText("正品核桃500g袋一件代发") + "\t", "180703905", gbkText("東方88小店") + "\t",
                                gbkText("1钻") + ", " + cell + "307"}));
  EXPECT_EQ(rows[1][3], gbkText("5黄冠") + ", " + cell + "21880730");
  // Below 4 points: no level, and the cell begins with ", ".
  EXPECT_EQ(rows[2], (ResultRow{gbkText("億家精选核桃葉子款註册商标包邮") + "\t", "120376889",
                                gbkText("快乐宝贝") + "\t", ", " + cell + "1"}));
  // The last product's seller is the first one's.
  EXPECT_EQ(rows[3][1], rows[0][1]);
  EXPECT_EQ(rows[3][3], rows[0][3]);
  EXPECT_EQ(window.runFields().sellerRowCounter, 4);
  EXPECT_EQ(targetsOn("rate.taobao.com"),
            (std::vector<std::string>{"/user-rate-180703905.htm", "/user-rate-196808814.htm", "/user-rate-120376889.htm",
                                      "/user-rate-180703905.htm"}));
}

TEST_F(SampleSiteExtractors, SellersOfTheSecondPageSkipThePlaceholderAndTheReportedProduct) {
  const std::string page = fetch("http://s.taobao.com/search?&q=%BA%CB%CC%D2&s=0&s=40");
  const std::vector<Product> products = SampleCatalog::taobaoSearch(gbkText("核桃"), 40);
  ASSERT_EQ(products.size(), 6u);
  // Only the level of the first seller passes.
  const std::string level = PageExtractor::CreditLevelText(std::to_string(products[0].seller.score));
  ASSERT_FALSE(level.empty());
  RunContext run;
  run.settings.levelFilterText = level;
  PageExtractor(window, sites, run).SellerExtractor(page);

  const std::vector<ResultRow> rows = window.rows();
  ASSERT_GE(rows.size(), 1u);
  EXPECT_EQ(rows[0][1], products[0].seller.sellerId);
  for (const ResultRow& row : rows) EXPECT_EQ(gbk::before(row[3], ","), level);
  // Four products were looked up; the placeholder and the reported one cost nothing.
  const std::vector<std::string> ratings = targetsOn("rate.taobao.com");
  EXPECT_EQ(ratings.size(), 4u);
  for (const std::string& target : ratings) EXPECT_NE(target, "/user-rate-" + products[3].seller.sellerId + ".htm");
}

}  // namespace
}  // namespace gleaner::sample
