// The readers over the sample site, reached under the real host names
// through the connect-to map as the programs reach it: exact cells of chosen
// pages, the traps, and the requests each page costs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/BuyerReader.h"
#include "extract/ItemPageProbe.h"
#include "extract/OfferReader.h"
#include "extract/ReaderRun.h"
#include "extract/SellerReader.h"
#include "net/InternetClient.h"
#include "net/PageDownload.h"
#include "sample-site/SampleSite.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner::sample {
namespace {

std::string gbkText(const char* utf8) { return gbk::fromUtf8(utf8); }

class SampleSiteReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    previousConnectTo = InternetClient::connectTo();
    InternetClient::setConnectTo(ConnectTo::parse(site.connectToList()));
  }
  void TearDown() override {
    InternetClient::setConnectTo(previousConnectTo);
    site.stop();
  }

  // A page as the run downloads it under its real address: a result page, or
  // the item page a buyers run starts with.
  std::string fetch(const PageRequest& request) {
    const std::string page = downloadPage(request).text;
    site.clearRequests();
    return page;
  }
  std::string resultPage(const std::string& address) { return fetch(PageRequest::resultPage(address)); }

  std::vector<std::string> targetsOn(const std::string& host) const {
    std::vector<std::string> targets;
    for (const SiteRequest& request : site.requests()) {
      if (request.host == host) targets.push_back(request.target);
    }
    return targets;
  }

  // The real hosts, and the started site as the rule server.
  static Sites startedSite(SampleSite& site) {
    Sites sites;
    sites.ruleServer = "127.0.0.1:" + std::to_string(site.start());
    return sites;
  }

  SampleSite site;
  ConnectTo previousConnectTo;
  const Sites sites = startedSite(site);
  testing::ReaderRun run{sites};
};

TEST_F(SampleSiteReaders, OfferListGivesOneRowPerOfferWithItsOfferPagesName) {
  const std::string page =
      resultPage("http://s.1688.com/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2&sortType=normal"
                 "&button_click=top&earseDirect=false&n=y#beginPage=1");
  OfferReader(run.context).read(page);

  const std::vector<ResultRow> rows = run.host.rows;
  ASSERT_EQ(rows.size(), 12u);
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

TEST_F(SampleSiteReaders, BuyerListGivesOneRowPerBuyerAndSkipsTheGoneAccount) {
  const std::string page = resultPage(
      "http://rate.taobao.com/detail_rate.htm?userNumId=165826381&auctionNumId=19793658234&showContent=1&currentPage=2");
  const std::string itemAddress = "http://item.taobao.com" + std::string(literals::kSampleItemPath);
  BuyerReader(run.context, "T\t\r\n", itemAddress).read(page);

  const ReviewPage reviews = SampleCatalog::reviews(kSampleItemId, 2);
  const std::vector<ResultRow> rows = run.host.rows;
  ASSERT_EQ(rows.size(), reviews.reviews.size() - 1);
  EXPECT_EQ(rows[0], (ResultRow{"T\t\r\n", "1486602259\t", gbkText("走***8"), itemAddress}));
  EXPECT_EQ(rows[4], (ResultRow{"T\t\r\n", "2111137202\t", gbkText("花***哥"), itemAddress}));
  EXPECT_EQ(rows[5][2], gbkText("億***8"));
  EXPECT_EQ(site.requests(), (std::vector<SiteRequest>{{sites.ruleServer, "/files/taobao/ExtractAllText.txt"}}));
}

TEST_F(SampleSiteReaders, ItemPageProbeFindsTheReviewAddressAndTitle) {
  const Item item = SampleCatalog::item(kSampleItemId);
  const ItemProbe probe = probeItemPage(
      fetch(PageRequest::wholeAddress("http://item.taobao.com" + std::string(literals::kSampleItemPath))),
      sites.ratingHost);
  EXPECT_EQ(probe.reviewAddress, "http://rate.taobao.com/detail_rate.htm?userNumId=" + item.seller.sellerId +
                                     "&auctionNumId=19793658234&showContent=1&currentPage=1");
  EXPECT_EQ(probe.title, gbkText("厂家直销羽绒服限量版数量有限淘宝网") + "\t\r\n");
  EXPECT_EQ(probe.failure, "");

  const ItemProbe none =
      probeItemPage(fetch(PageRequest::wholeAddress("http://item.taobao.com/item.htm?id=10000000001")), sites.ratingHost);
  EXPECT_EQ(none.reviewAddress, "");
  EXPECT_NE(none.title, "");
}

TEST_F(SampleSiteReaders, SellersOfTheFirstPageWithEveryLevel) {
  const std::string page = resultPage("http://s.taobao.com/search?&q=%BA%CB%CC%D2&s=0");
  SellerReader(run.context, std::string(literals::kAllCreditLevels)).read(page);

  const std::string cell = std::string(literals::kSellerCreditLabelCell);
  const std::vector<ResultRow> rows = run.host.rows;
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
  EXPECT_EQ(targetsOn("rate.taobao.com"),
            (std::vector<std::string>{"/user-rate-180703905.htm", "/user-rate-196808814.htm", "/user-rate-120376889.htm",
                                      "/user-rate-180703905.htm"}));
}

TEST_F(SampleSiteReaders, SellersOfTheSecondPageSkipThePlaceholderAndTheReportedProduct) {
  const std::string page = resultPage("http://s.taobao.com/search?&q=%BA%CB%CC%D2&s=0&s=40");
  const std::vector<Product> products = SampleCatalog::taobaoSearch(gbkText("核桃"), 40);
  ASSERT_EQ(products.size(), 6u);
  // Only the level of the first seller passes.
  const std::string level = creditLevelText(std::to_string(products[0].seller.score));
  ASSERT_FALSE(level.empty());
  SellerReader(run.context, level).read(page);

  const std::vector<ResultRow> rows = run.host.rows;
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
