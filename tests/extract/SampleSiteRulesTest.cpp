// The six rule files over the sample site's pages, through PatternScan alone:
// each record holds what its reader cuts out, names with characters whose
// second byte is an ASCII mark come out whole, and big pages give the same
// records as small ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "extract/HtmlTextCleaner.h"
#include "extract/PatternScan.h"
#include "extract/RuleSource.h"
#include "net/PageDownload.h"
#include "rules/EmbeddedRules.h"
#include "sample-site/HostileFiller.h"
#include "sample-site/SamplePages.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner::sample {
namespace {

std::string gbkText(const char* utf8) { return gbk::fromUtf8(utf8); }

std::vector<std::string> scan(const char* rulePath, const std::string& body) {
  const std::string pattern = ruleTextToPattern(pageTextOf(std::string(*embeddedRuleFile(rulePath))));
  std::vector<std::string> records;
  PatternScan(pattern, pageTextOf(body), [&](const std::string& record) {
    records.push_back(record);
    return true;
  });
  return records;
}

constexpr const char* kOfferRule = "/files/ali/ExtractTextAImg.txt";
constexpr const char* kDetailRule = "/files/ali/ExtractTextAImg01.txt";
constexpr const char* kBuyerRule = "/files/taobao/ExtractAllText.txt";
constexpr const char* kProductRule = "/files/taobao/ExtractTextAImg3.txt";
constexpr const char* kSellerBlockRule = "/files/taobao/ExtractImg.txt";
constexpr const char* kRatingRule = "/files/taobao/ExtractTextAImg31.txt";

const SamplePages pages;

std::string offerRecord(const Offer& offer) {
  return HtmlTextCleaner(offer.merchant) + "\tmemberid=\"" + offer.memberId + "\"\tofferid=\"" + offer.offerId +
         "\"\t";
}

TEST(SampleSiteRules, OfferSearchRecordsReadMerchantThenMemberIdThenOfferId) {
  const std::string walnut = gbkText("核桃");
  // Page 1 of the default keyword, as it stands.
  const std::vector<std::string> first = scan(kOfferRule, pages.offerSearchPage(walnut, 1));
  ASSERT_EQ(first.size(), 12u);
  EXPECT_EQ(first[0], gbkText("温州億家日用品厂") + "\tmemberid=\"b2b-2918597581\"\tofferid=\"55868081006\"\t");
  EXPECT_EQ(first[2], gbkText("汕头市鑫源箱包专业合作社个体经营") + "\tmemberid=\"hzxinyuan1882\"\tofferid=\"42080420005\"\t");
  EXPECT_EQ(first[3], gbkText("广州市東方农产品经营部") + "\tmemberid=\"b2b-1293139113\"\tofferid=\"67284794000\"\t");

  for (const auto& [keyword, page] : std::vector<std::pair<std::string, int>>{{walnut, 2}, {"abc", 1}, {"abc", 7}}) {
    const std::vector<Offer> offers = SampleCatalog::offerSearch(keyword, page);
    const std::vector<std::string> records = scan(kOfferRule, pages.offerSearchPage(keyword, page));
    ASSERT_EQ(records.size(), offers.size());
    for (std::size_t i = 0; i < offers.size(); ++i) EXPECT_EQ(records[i], offerRecord(offers[i])) << i;
  }
  EXPECT_TRUE(scan(kOfferRule, pages.offerSearchPage("empty", 1)).empty());
  EXPECT_EQ(scan(kOfferRule, pages.offerSearchPage("tiny", 1)).size(), 1u);
}

TEST(SampleSiteRules, OfferDetailRecordIsTheCleanedProductNameOrNothing) {
  EXPECT_EQ(scan(kDetailRule, pages.offerDetailPage("53130617009")),
            std::vector<std::string>{gbkText("億家精选核桃奶油味送礼盒包邮") + "\t"});
  EXPECT_TRUE(scan(kDetailRule, pages.offerDetailPage("67284794000")).empty()) << "a withdrawn offer";
  for (const Offer& offer : SampleCatalog::offerSearch("abc", 3)) {
    const std::vector<std::string> records = scan(kDetailRule, pages.offerDetailPage(offer.offerId));
    if (offer.withdrawn) {
      EXPECT_TRUE(records.empty());
    } else {
      EXPECT_EQ(records, std::vector<std::string>{HtmlTextCleaner(offer.title) + "\t"});
    }
  }
}

TEST(SampleSiteRules, ReviewRecordsReadNicknameCommaBuyerId) {
  const std::vector<std::string> records = scan(kBuyerRule, pages.reviewPage(kSampleItemId, 2));
  const ReviewPage reviews = SampleCatalog::reviews(kSampleItemId, 2);
  ASSERT_EQ(records.size(), reviews.reviews.size());
  EXPECT_EQ(records[0], gbkText("走***8") + ",1486602259\t");
  EXPECT_EQ(records[4], "") << "the rater whose account is gone";
  EXPECT_EQ(records[6], gbkText("億***8") + ",2440302871\t");
  for (int page = 1; page <= 5; ++page) {
    const ReviewPage expected = SampleCatalog::reviews(kSampleItemId, page);
    const std::vector<std::string> found = scan(kBuyerRule, pages.reviewPage(kSampleItemId, page));
    ASSERT_EQ(found.size(), expected.reviews.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      const Review& review = expected.reviews[i];
      EXPECT_EQ(found[i], review.accountGone ? "" : HtmlTextCleaner(review.nick) + "," + review.buyerId + "\t");
    }
  }
  EXPECT_TRUE(scan(kBuyerRule, pages.reviewPage(kSampleItemId, 6)).empty());
}

TEST(SampleSiteRules, ProductRecordsHoldNameBeforeTheAddressAndTheItemIdAfterId) {
  const std::vector<std::string> first = scan(kProductRule, pages.taobaoSearchPage(gbkText("核桃"), 0));
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(first[0], gbkText("正品核桃500g袋一件代发") +
                          "\thttp://item.taobao.com/item.htm?id=16927807000&amp;ad_id=&amp;am_id=&amp;cm_id=&amp;pm_id=\t");

  const std::vector<Product> products = SampleCatalog::taobaoSearch("abc", 40);
  const std::vector<std::string> records = scan(kProductRule, pages.taobaoSearchPage("abc", 40));
  ASSERT_EQ(records.size(), products.size());
  for (std::size_t i = 0; i < products.size(); ++i) {
    const Product& product = products[i];
    if (product.kind == ProductKind::Placeholder) {
      EXPECT_EQ(records[i], "");
      continue;
    }
    if (product.kind == ProductKind::Reported) {
      EXPECT_TRUE(gbk::contains(records[i], gbkText("举报该宝贝")));
      continue;
    }
    EXPECT_EQ(gbk::before(records[i], "http"), HtmlTextCleaner(product.title) + "\t");
    EXPECT_EQ(gbk::before(gbk::after(records[i], "id="), "&"), product.itemId);
  }
}

TEST(SampleSiteRules, SellerBlockRecordsHoldNickSellerLinkWithQuoteAndItemId) {
  const std::vector<std::string> first = scan(kSellerBlockRule, pages.taobaoSearchPage(gbkText("核桃"), 0));
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(first[0], gbkText("東方88小店") +
                          "\thttp://store.taobao.com/shop/view_shop.htm?user_number_id=180703905\"\t16927807000\t");

  for (int offset : {0, 40, 80}) {
    std::vector<Product> products = SampleCatalog::taobaoSearch("abc", offset);
    std::erase_if(products, [](const Product& p) { return p.kind == ProductKind::Placeholder; });
    const std::vector<std::string> records = scan(kSellerBlockRule, pages.taobaoSearchPage("abc", offset));
    ASSERT_EQ(records.size(), products.size());
    for (std::size_t i = 0; i < products.size(); ++i) {
      const std::string block = gbk::removeAll(records[i], " ");
      EXPECT_TRUE(gbk::contains(block, products[i].itemId));
      EXPECT_EQ(gbk::before(block, "http"), HtmlTextCleaner(products[i].seller.nick) + "\t");
      EXPECT_EQ(gbk::before(gbk::after(block, "user_number_id="), "\""), products[i].seller.sellerId);
    }
  }
}

TEST(SampleSiteRules, RatingSummaryHoldsTheScoreBeforeTheFirstTag) {
  for (const char* sellerId : {"180703905", "120376889", "196808814", "100000000", "x"}) {
    const Seller seller = SampleCatalog::seller(sellerId);
    const std::vector<std::string> records = scan(kRatingRule, pages.sellerRatingPage(sellerId));
    ASSERT_EQ(records.size(), 1u) << sellerId;
    ASSERT_TRUE(gbk::contains(records[0], "href"));
    EXPECT_EQ(gbk::removeAll(gbk::before(records[0], "<"), gbkText("卖家信用：")), std::to_string(seller.score))
        << sellerId;
  }
  EXPECT_EQ(SampleCatalog::seller("120376889").score, 1);
  // White space between the score and its link is tolerated.
  const std::string spaced = gbkText("<li>卖家信用：\n\t\t 42 \n\t<a href=\"/r\">x</a></li>\n");
  const std::vector<std::string> records = scan(kRatingRule, spaced);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(gbk::decimalToInt(gbk::before(records[0], "<")), 42);
}

TEST(SampleSiteRules, BigPagesGiveTheRecordsOfTheirSmallPages) {
  const std::string walnut = gbkText("核桃");
  const std::string sellerId = SampleCatalog::taobaoSearch(walnut, 0).front().seller.sellerId;
  const std::string offerId = SampleCatalog::offerSearch(walnut, 1).front().offerId;
  for (std::size_t bytes : {200u * 1024u, 400u * 1024u}) {
    EXPECT_EQ(scan(kOfferRule, pages.bigPage(PageKind::OfferSearch, bytes)),
              scan(kOfferRule, pages.offerSearchPage(walnut, 1)));
    EXPECT_EQ(scan(kDetailRule, pages.bigPage(PageKind::OfferDetail, bytes)), scan(kDetailRule, pages.offerDetailPage(offerId)));
    EXPECT_EQ(scan(kBuyerRule, pages.bigPage(PageKind::Reviews, bytes)), scan(kBuyerRule, pages.reviewPage(kSampleItemId, 1)));
    EXPECT_EQ(scan(kProductRule, pages.bigPage(PageKind::TaobaoSearch, bytes)),
              scan(kProductRule, pages.taobaoSearchPage(walnut, 0)));
    EXPECT_EQ(scan(kSellerBlockRule, pages.bigPage(PageKind::TaobaoSearch, bytes)),
              scan(kSellerBlockRule, pages.taobaoSearchPage(walnut, 0)));
    EXPECT_EQ(scan(kRatingRule, pages.bigPage(PageKind::SellerRating, bytes)), scan(kRatingRule, pages.sellerRatingPage(sellerId)));
  }
}

// Every name below is made of characters whose second GBK byte is an ASCII
// mark or letter ("|", "\", "{", "~", "@", "_", "[", "]", "^", "}", "`"), set
// right against the delimiters the rules stop at.
TEST(SampleSiteRules, TrailBytesNeverEndOrSplitAName) {
  const std::string name = gbkText("億東誠藍葉園臺覽註觀倉乣");
  const std::string nameWithSpace = gbkText("億東 誠藍");
  const std::string offers = "<li><div class=\"c\">\n<a class=\"sm-previewCompany\" href=\"http://x.1688.com/\"\ttitle=\"" +
                             name + "\" memberid=\"b2b-1\" offerid=\"2\">" + name + "</a>\n</div></li>\n";
  EXPECT_EQ(scan(kOfferRule, offers), std::vector<std::string>{name + "\tmemberid=\"b2b-1\"\tofferid=\"2\"\t"});

  EXPECT_EQ(scan(kDetailRule, "<h1 class=\"d-title\">" + name + "</h1>\n"), std::vector<std::string>{name + "\t"});

  const std::string reviews = "{\"buyer\":[\"" + name + "\",\"11\"]},{\"buyer\":[\"" + nameWithSpace + "\",\"12\"]}\n";
  EXPECT_EQ(scan(kBuyerRule, reviews),
            (std::vector<std::string>{name + ",11\t", gbkText("億東誠藍") + ",12\t"}));

  const std::string block = "<div class=\"item \" nid=\"123\">\n<h3 class=\"summary\"><a href=\"http://i/item.htm?id=123&amp;x=1\" title=\"" +
                            name + "\">" + name + "</a></h3>\n<div class=\"col seller\"><a href=\"http://s/view_shop.htm?user_number_id=9\">" +
                            name + "</a></div>\n</div>\n";
  EXPECT_EQ(scan(kProductRule, block), std::vector<std::string>{name + "\thttp://i/item.htm?id=123&amp;x=1\t"});
  EXPECT_EQ(scan(kSellerBlockRule, block),
            std::vector<std::string>{name + "\thttp://s/view_shop.htm?user_number_id=9\"\t123\t"});
}

// The empty-result markers call exactly the site's empty result pages empty
// (the "empty" keyword, pages past the last one, "tiny" Taobao pages, review
// pages past the last one), never a page with results, changed markup
// included; on changed markup the list rules find nothing.
TEST(SampleSiteRules, MarkersTellEmptyResultPagesFromPagesWhoseMarkupChanged) {
  const std::string walnut = gbkText("核桃");
  const std::string changed(kChangedMarkupKeyword);
  struct Case {
    const char* marker;
    const char* listRule;
    std::string page;
    bool empty;
  };
  const Case cases[] = {
      {"/files/ali/EmptyOfferSearch.txt", kOfferRule, pages.offerSearchPage("empty", 1), true},
      {"/files/ali/EmptyOfferSearch.txt", kOfferRule, pages.offerSearchPage(walnut, kOfferSearchPages + 1), true},
      {"/files/ali/EmptyOfferSearch.txt", kOfferRule, pages.offerSearchPage(walnut, 1), false},
      {"/files/ali/EmptyOfferSearch.txt", kOfferRule, pages.offerSearchPage(changed, 1), false},
      {"/files/taobao/EmptySellerSearch.txt", kProductRule, pages.taobaoSearchPage("empty", 0), true},
      {"/files/taobao/EmptySellerSearch.txt", kProductRule, pages.taobaoSearchPage("tiny", 0), true},
      {"/files/taobao/EmptySellerSearch.txt", kProductRule, pages.taobaoSearchPage(walnut, 0), false},
      {"/files/taobao/EmptySellerSearch.txt", kProductRule, pages.taobaoSearchPage(changed, 40), false},
      {"/files/taobao/EmptyReviewPage.txt", kBuyerRule, pages.reviewPage(kSampleItemId, 6), true},
      {"/files/taobao/EmptyReviewPage.txt", kBuyerRule, pages.reviewPage(kSampleItemId, 2), false},
      {"/files/taobao/EmptyReviewPage.txt", kBuyerRule, pages.reviewPage(kChangedMarkupItem, 1), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.marker) + " " + c.page.substr(0, 120));
    EXPECT_EQ(!scan(c.marker, c.page).empty(), c.empty);
    const std::vector<std::string> records = scan(c.listRule, c.page);
    const bool anyRecord = std::any_of(records.begin(), records.end(), [](const std::string& r) { return !r.empty(); });
    const bool changedMarkup = c.page.find("data-offer-id") != std::string::npos ||
                               c.page.find("item-summary") != std::string::npos ||
                               c.page.find("\"rater\"") != std::string::npos;
    EXPECT_EQ(anyRecord, !c.empty && !changedMarkup);
  }
  // Changed markup holds the same offers and products, only renamed.
  EXPECT_EQ(SampleCatalog::offerSearch(changed, 2).size(), SampleCatalog::offerSearch(walnut, 2).size());
  EXPECT_EQ(SampleCatalog::taobaoSearch(changed, 0).size(), SampleCatalog::taobaoSearch(walnut, 0).size());
}

TEST(SampleSiteRules, EachRuleFileIsFetchedAsTheSamePatternWithOrWithoutItsLastLineFeed) {
  for (const EmbeddedRuleFile& file : embeddedRuleFiles()) {
    const std::string text(file.bytes);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(ruleTextToPattern(pageTextOf(text)), ruleTextToPattern(pageTextOf(text.substr(0, text.size() - 1))));
    EXPECT_NO_THROW(PatternScan(ruleTextToPattern(pageTextOf(text)), "", [](const std::string&) { return true; }))
        << file.path;
  }
}

// A page with 256 KB of never-closed openings before its records (the kind
// of page that kept the earlier rules busy for seconds per 100 KB): every rule
// stays far within the one-second search budget, even in a sanitizer build,
// and finds exactly the records of the plain page.
TEST(SampleSiteRules, EveryRuleFindsTheSameRecordsBehindHostileText) {
  const std::pair<const char*, PageKind> cases[] = {
      {kOfferRule, PageKind::OfferSearch},   {kDetailRule, PageKind::OfferDetail},
      {kBuyerRule, PageKind::Reviews},       {kProductRule, PageKind::TaobaoSearch},
      {kSellerBlockRule, PageKind::TaobaoSearch}, {kRatingRule, PageKind::SellerRating},
  };
  for (const auto& [rule, kind] : cases) {
    SCOPED_TRACE(rule);
    const std::string plain = pages.bigPage(kind, 0);
    const std::string hostile = withHostileFiller(kind, plain, 256 * 1024);
    ASSERT_GT(hostile.size(), plain.size() + 256 * 1000);
    const std::vector<std::string> expected = scan(rule, plain);
    EXPECT_FALSE(expected.empty());
    std::vector<std::string> found;
    EXPECT_NO_THROW(found = scan(rule, hostile));
    EXPECT_EQ(found, expected);
  }
}

}  // namespace
}  // namespace gleaner::sample
