#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "rules/EmbeddedRules.h"
#include "sample-site/SampleSite.h"
#include "sample-site/SiteTarget.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner::sample {
namespace {

std::string gbkText(const char* utf8) { return gbk::fromUtf8(utf8); }

class SampleSiteAnswers : public ::testing::Test {
 protected:
  SampleSite site;
  const SamplePages& pages = site.pages();
};

TEST_F(SampleSiteAnswers, OfferSearchPagesAreChosenByKeywordAndTheFragmentsPageNumber) {
  const SiteAnswer answer =
      site.answer("s.1688.com", "/selloffer/offer_search.htm?keywords=abc&sortType=pop&n=y#beginPage=2");
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.contentType, "text/html; charset=gbk");
  EXPECT_EQ(answer.body, pages.offerSearchPage("abc", 2));
  EXPECT_NE(answer.body, pages.offerSearchPage("abc", 1));
  // A GBK keyword arrives percent-encoded; the Host may carry a port and capitals.
  EXPECT_EQ(site.answer("S.1688.com:80", "/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2&n=y#beginPage=1").body,
            pages.offerSearchPage(gbkText("核桃"), 1));
}

TEST_F(SampleSiteAnswers, TaobaoSearchPagesUseTheLastOffset) {
  EXPECT_EQ(site.answer("s.taobao.com", "/search?&q=abc").body, pages.taobaoSearchPage("abc", 0));
  EXPECT_EQ(site.answer("s.taobao.com", "/search?&q=abc&s=0&s=40&s=80").body, pages.taobaoSearchPage("abc", 80));
  EXPECT_NE(pages.taobaoSearchPage("abc", 40), pages.taobaoSearchPage("abc", 80));
}

TEST_F(SampleSiteAnswers, ItemAndRatingHostPages) {
  const std::string item =
      site.answer("item.taobao.com", "/item.htm?spm=a230r.1.14.71.QuK3y5&id=19793658234").body;
  const Item sample = SampleCatalog::item(kSampleItemId);
  EXPECT_NE(item.find("data-reviewApi=\"" + pages.reviewApiAddress(sample) + "\""), std::string::npos);
  EXPECT_NE(item.find("<title>" + sample.title + gbkText(" - 淘宝网") + "</title>"), std::string::npos);
  EXPECT_EQ(pages.reviewApiAddress(sample),
            "http://rate.taobao.com/detail_rate.htm?userNumId=" + sample.seller.sellerId +
                "&auctionNumId=19793658234&showContent=1&currentPage=1&ismore=0&siteID=7");

  EXPECT_EQ(site.answer("rate.taobao.com", "/detail_rate.htm?userNumId=1&auctionNumId=19793658234&showContent=1&currentPage=3")
                .body,
            pages.reviewPage(kSampleItemId, 3));
  const SiteAnswer rating = site.answer("rate.taobao.com", "/user-rate-158239011.htm");
  EXPECT_EQ(rating.status, 200);
  EXPECT_TRUE(gbk::contains(rating.body, gbkText("卖家信用：")));
  EXPECT_EQ(site.answer("detail.1688.com", "/offer/12345678011.html").body, pages.offerDetailPage("12345678011"));
}

TEST_F(SampleSiteAnswers, UnknownHostsAndPathsGet404) {
  EXPECT_EQ(site.answer("www.example.com", "/search?&q=abc").status, 404);
  EXPECT_EQ(site.answer("127.0.0.1:8080", "/search?&q=abc").status, 404);
  EXPECT_EQ(site.answer("s.taobao.com", "/item.htm?id=1").status, 404);
  EXPECT_EQ(site.answer("item.taobao.com", "/item.htm?spm=x").status, 404);
  EXPECT_EQ(site.answer("detail.1688.com", "/offer/.html").status, 404);
  EXPECT_EQ(site.answer("rate.taobao.com", "/user-rate-.htm").status, 404);
  EXPECT_EQ(site.answer("rate.taobao.com", "/detail_rate.htm?currentPage=1").status, 404);
}

TEST_F(SampleSiteAnswers, DocumentedFailures) {
  const std::string search = "/selloffer/offer_search.htm?keywords=missing3&n=y#beginPage=";
  EXPECT_EQ(site.answer("s.1688.com", search + "2").status, 200);
  EXPECT_EQ(site.answer("s.1688.com", search + "3").status, 404);
  EXPECT_EQ(site.answer("s.taobao.com", "/search?&q=missing3&s=0&s=40").status, 200);
  EXPECT_EQ(site.answer("s.taobao.com", "/search?&q=missing3&s=0&s=40&s=80").status, 404);

  const std::string reviews = "/detail_rate.htm?userNumId=1&auctionNumId=10000000004&showContent=1&currentPage=";
  EXPECT_EQ(site.answer("rate.taobao.com", reviews + "3").status, 200);
  EXPECT_EQ(site.answer("rate.taobao.com", reviews + "4").status, 500);
  EXPECT_EQ(site.answer("rate.taobao.com", reviews + "57").status, 500);

  const std::string noReviews = site.answer("item.taobao.com", "/item.htm?id=10000000001").body;
  EXPECT_EQ(noReviews.find("data-reviewApi"), std::string::npos);
  EXPECT_NE(noReviews.find("<title>"), std::string::npos);

  EXPECT_EQ(site.answer("s.taobao.com", "/search?&q=slow").delay, std::chrono::milliseconds(3000));
  EXPECT_EQ(site.answer("s.1688.com", "/selloffer/offer_search.htm?keywords=slow&n=y#beginPage=1").delay,
            std::chrono::milliseconds(3000));
  EXPECT_EQ(site.answer("s.taobao.com", "/search?&q=abc").delay, std::chrono::milliseconds(0));
}

TEST_F(SampleSiteAnswers, ServesTheCompiledInRuleFilesOnAnyHost) {
  for (const EmbeddedRuleFile& file : embeddedRuleFiles()) {
    for (const char* host : {"s.1688.com", "127.0.0.1:1234", "rules.example.com"}) {
      const SiteAnswer answer = site.answer(host, file.path);
      EXPECT_EQ(answer.status, 200);
      EXPECT_EQ(answer.body, file.bytes);
    }
  }
  EXPECT_EQ(site.answer("s.1688.com", "/files/taobao/Missing.txt").status, 404);
}

TEST(SampleSiteRulesDirectory, ServesRuleFilesFromTheDirectoryReadAfresh) {
  const auto dir = std::filesystem::temp_directory_path() / ("gleaner-rules-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir / "taobao");
  auto write = [&](const std::string& text) { std::ofstream(dir / "taobao" / "ExtractImg.txt", std::ios::binary) << text; };
  write("(first)\n");
  SampleSite::Options options;
  options.rulesDirectory = dir;
  SampleSite site(options);
  EXPECT_EQ(site.answer("x", "/files/taobao/ExtractImg.txt").body, "(first)\n");
  write("(second)\n");
  EXPECT_EQ(site.answer("x", "/files/taobao/ExtractImg.txt").body, "(second)\n");
  EXPECT_EQ(site.answer("x", "/files/ali/ExtractTextAImg.txt").status, 404);
  EXPECT_EQ(site.answer("x", "/files/taobao/..").status, 404);
  EXPECT_EQ(site.answer("x", "/files/taobao/sub/ExtractImg.txt").status, 404);
  std::filesystem::remove_all(dir);
}

TEST(SampleSiteServer, LogsEachRequestAsReceivedInOrder) {
  SampleSite site;
  const int port = site.start();
  EXPECT_EQ(site.baseAddress(), "http://127.0.0.1:" + std::to_string(port) + "/");
  const std::string to = ":80:127.0.0.1:" + std::to_string(port);
  EXPECT_EQ(site.connectToList(), "s.1688.com" + to + ",detail.1688.com" + to + ",s.taobao.com" + to +
                                      ",rate.taobao.com" + to + ",item.taobao.com" + to);

  httplib::Client client("127.0.0.1", port);
  const std::string offerTarget = "/selloffer/offer_search.htm?keywords=abc&n=y#beginPage=1";
  auto offers = client.Get(offerTarget.c_str(), {{"Host", "s.1688.com"}});
  ASSERT_TRUE(offers);
  EXPECT_EQ(offers->status, 200);
  EXPECT_EQ(offers->get_header_value("Content-Type"), "text/html; charset=gbk");
  EXPECT_EQ(offers->body, site.pages().offerSearchPage("abc", 1));
  auto missing = client.Get("/nothing", {{"Host", "www.example.com"}});
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);

  const std::vector<SiteRequest> expected = {{"s.1688.com", offerTarget}, {"www.example.com", "/nothing"}};
  EXPECT_EQ(site.requests(), expected);
  site.clearRequests();
  EXPECT_TRUE(site.requests().empty());
}

TEST(SampleSiteServer, SlowPagesWaitAndStopCutsTheWaitShort) {
  SampleSite::Options options;
  options.slowDelay = std::chrono::milliseconds(300);
  SampleSite site(options);
  const int port = site.start();
  httplib::Client client("127.0.0.1", port);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.Get("/search?&q=slow", {{"Host", "s.taobao.com"}}));
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));

  SampleSite blocking;
  const int blockingPort = blocking.start();
  std::thread request([&] {
    httplib::Client slowClient("127.0.0.1", blockingPort);
    slowClient.Get("/search?&q=slow", {{"Host", "s.taobao.com"}});
  });
  while (blocking.requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const auto stopping = std::chrono::steady_clock::now();
  blocking.stop();
  EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::milliseconds(2000));
  request.join();
}

TEST(SamplePagesContent, SameRequestSamePageOnEveryInstance) {
  const SamplePages a;
  const SamplePages b;
  EXPECT_EQ(a.offerSearchPage("abc", 3), b.offerSearchPage("abc", 3));
  EXPECT_EQ(a.taobaoSearchPage("abc", 120), b.taobaoSearchPage("abc", 120));
  EXPECT_EQ(a.reviewPage("123", 2), b.reviewPage("123", 2));
  EXPECT_NE(a.offerSearchPage("abc", 3), a.offerSearchPage("abd", 3));
}

TEST(SamplePagesContent, PagesNameTheConfiguredHosts) {
  Sites hosts;
  hosts.offerDetailHost = "detail.example";
  hosts.ratingHost = "rate.example";
  hosts.itemHost = "item.example";
  const SamplePages pages(hosts);
  EXPECT_NE(pages.offerSearchPage("abc", 1).find("http://detail.example/offer/"), std::string::npos);
  EXPECT_NE(pages.itemPage(kSampleItemId).find("data-reviewApi=\"http://rate.example/detail_rate.htm?"),
            std::string::npos);
  EXPECT_NE(pages.taobaoSearchPage("abc", 0).find("http://item.example/item.htm?id="), std::string::npos);
}

TEST(SamplePagesContent, SellerScoresSpreadOverTheCreditLevels) {
  std::set<std::string> icons;
  bool belowFourPoints = false;
  for (int offset = 0; offset < 20 * kTaobaoPageStep; offset += kTaobaoPageStep) {
    for (const Product& product : SampleCatalog::taobaoSearch("abc", offset)) {
      if (product.kind != ProductKind::Normal) continue;
      icons.insert(SamplePages::rankIcon(product.seller.score));
      belowFourPoints = belowFourPoints || product.seller.score < 4;
      EXPECT_EQ(SampleCatalog::seller(product.seller.sellerId).score, product.seller.score);
    }
  }
  EXPECT_GE(icons.size(), 12u);
  EXPECT_TRUE(belowFourPoints);
  EXPECT_EQ(SamplePages::rankIcon(3), "");
  EXPECT_EQ(SamplePages::rankIcon(4), "s_red_1.gif");
  EXPECT_EQ(SamplePages::rankIcon(1234), "s_blue_3.gif");
  EXPECT_EQ(SamplePages::rankIcon(10000001), "s_crown_5.gif");
}

TEST(SamplePagesContent, DocumentedTrapsStandWhereDocumented) {
  const std::vector<Offer> offers = SampleCatalog::offerSearch("abc", 1);
  ASSERT_GE(offers.size(), 8u);
  EXPECT_TRUE(offers[3].withdrawn);
  EXPECT_EQ(SamplePages().offerDetailPage(offers[3].offerId).find("d-title"), std::string::npos);
  const std::vector<Offer> second = SampleCatalog::offerSearch("abc", 2);
  EXPECT_EQ(second[0].memberId, second[2].memberId);

  const std::vector<Product> first = SampleCatalog::taobaoSearch("abc", 0);
  ASSERT_GE(first.size(), 4u);
  EXPECT_LT(first[2].seller.score, 4);
  EXPECT_EQ(first.back().seller.sellerId, first.front().seller.sellerId);
  const std::vector<Product> page2 = SampleCatalog::taobaoSearch("abc", 40);
  EXPECT_EQ(page2[1].kind, ProductKind::Placeholder);
  EXPECT_EQ(page2[3].kind, ProductKind::Reported);

  const ReviewPage reviews = SampleCatalog::reviews(kSampleItemId, 2);
  ASSERT_GE(reviews.reviews.size(), 10u);
  EXPECT_TRUE(reviews.reviews[4].accountGone);
  EXPECT_EQ(reviews.maxPage, 5);
  EXPECT_TRUE(SampleCatalog::reviews(kSampleItemId, 6).reviews.empty());
}

TEST(SamplePagesContent, TinyPagesAreSmallAndBigPagesHaveTheirSize) {
  const SamplePages pages;
  EXPECT_LT(pages.offerSearchPage("tiny", 1).size(), 4096u);
  EXPECT_LT(pages.taobaoSearchPage("tiny", 0).size(), 1024u);
  for (PageKind kind : {PageKind::OfferSearch, PageKind::OfferDetail, PageKind::Item, PageKind::Reviews,
                        PageKind::TaobaoSearch, PageKind::SellerRating}) {
    for (std::size_t bytes : {200u * 1024u, 400u * 1024u}) {
      const std::size_t size = pages.bigPage(kind, bytes).size();
      EXPECT_GE(size, bytes) << static_cast<int>(kind);
      EXPECT_LT(size, bytes + bytes / 10) << static_cast<int>(kind);
    }
  }
}

TEST(SiteTargetParts, ValuesPathsAndNumbers) {
  const SiteTarget target("/search?&q=%BA%CB&s=0&s=40#frag=1");
  EXPECT_EQ(target.path(), "/search");
  EXPECT_EQ(target.firstValue("q"), "\xBA\xCB");
  EXPECT_EQ(target.firstValue("s"), "0");
  EXPECT_EQ(target.lastValue("s"), "40");
  EXPECT_EQ(target.lastValue("frag"), "1");
  EXPECT_EQ(target.firstValue("x"), std::nullopt);
  EXPECT_EQ(SiteTarget::number(std::string("12abc"), 7), 12);
  EXPECT_EQ(SiteTarget::number(std::string("abc"), 7), 7);
  EXPECT_EQ(SiteTarget::number(std::nullopt, 7), 7);
  EXPECT_EQ(SiteTarget::percentDecoded("a%2"), "a%2");
  EXPECT_EQ(SiteTarget::percentDecoded("%41%zz"), "A%zz");
}

}  // namespace
}  // namespace gleaner::sample
