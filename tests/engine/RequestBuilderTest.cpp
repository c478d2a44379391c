#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/NextPageRule.h"
#include "engine/RunRequest.h"
#include "engine/SearchRequestBuilder.h"
#include "engine/UrlEncoder.h"
#include "text/Literals.h"

namespace gleaner {
namespace {

TEST(UrlEncoder, KeepsOnlyLowerCaseLettersAndDigits) {
  EXPECT_EQ(UrlEncoder("abc"), "abc");
  EXPECT_EQ(UrlEncoder("Ab 1"), "%41b%201");
  EXPECT_EQ(UrlEncoder("\xD6\xD0"), "%D6%D0");
  EXPECT_EQ(UrlEncoder("-._~\n"), "%2D%2E%5F%7E%0A");
  EXPECT_EQ(UrlEncoder(std::string("\0z", 2)), "%00z");
}

TEST(SearchRequestBuilder, OfferAddressTakesSortAndFiltersInOrder) {
  RunRequest request;
  request.keyword = "abc";
  request.sort = OfferSort::Popular;
  request.buyerProtection = true;
  request.online = true;
  EXPECT_EQ(searchAddress(request, Sites{}),
            "http://s.1688.com/selloffer/offer_search.htm?keywords=abc&sortType=pop&isCreditFlag=true"
            "&onlineStatus=yes&button_click=top&earseDirect=false&n=y#beginPage=1");
  request.job = Job::Sellers;
  EXPECT_EQ(searchAddress(request, Sites{}), "http://s.taobao.com/search?&q=abc");
}

TEST(SearchRequestBuilder, SortOrders) {
  const std::pair<OfferSort, const char*> cases[] = {
      {OfferSort::Normal, "&sortType=normal"}, {OfferSort::Booked, "&sortType=booked"},
      {OfferSort::Credit, "&sortType=normal"}, {OfferSort::Newest, "&sortType=normal"},
      {OfferSort::Price, "&sortType=price"},   {OfferSort::None, ""}};
  for (const auto& [sort, part] : cases) EXPECT_EQ(sortQueryPart(sort), part) << static_cast<int>(sort);
}

// What the tab pages hold becomes a request, or the refusal the user sees.
TEST(RunSettings, RefusalsPageCountsAndDefaults) {
  RunSettings offers = RunSettings::defaults(Job::Offers, "item.taobao.com");
  EXPECT_EQ(offers.keyword, literals::kDefaultKeyword);
  EXPECT_EQ(offers.pagesText, "10");
  offers.keyword.clear();
  offers.pagesText.clear();
  EXPECT_EQ(readRunSettings(offers).refusal, literals::kFillKeyword) << "the keyword is asked for first";
  offers.keyword = "abc";
  EXPECT_EQ(readRunSettings(offers).refusal, literals::kFillPageCount);
  offers.pagesText = " \xA1\xA1\r\n";
  EXPECT_EQ(readRunSettings(offers).refusal, literals::kFillPageCount) << "spaces are no page count";
  for (const auto& [text, pages] : std::vector<std::pair<std::string, int>>{
           {"3", 3}, {" 12\r\n", 12}, {"\xA1\xA1" "5\xA1\xA1", 5}, {"+4", 4}, {"-2", -2},
           {"99999999999", 2147483647}}) {
    offers.pagesText = text;
    const SettingsReading reading = readRunSettings(offers);
    ASSERT_TRUE(reading.request) << text;
    EXPECT_EQ(reading.request->pages, pages) << text;
  }
  for (const std::string text : {"x", "12abc", "1 2", "-", "\xA3\xB1"}) {  // the last: a full-width 1
    offers.pagesText = text;
    EXPECT_EQ(readRunSettings(offers).refusal, literals::kPageCountNotNumber) << text;
  }
  // Around every box's text: white space, line breaks and full-width spaces.
  offers.pagesText = "1";
  offers.keyword = "\xA1\xA1 ";
  EXPECT_EQ(readRunSettings(offers).refusal, literals::kFillKeyword) << "a keyword of spaces is none";
  offers.keyword = "\xA1\xA1 \xBA\xCB\xCC\xD2 abc\r\n";
  EXPECT_EQ(readRunSettings(offers).request->keyword, "\xBA\xCB\xCC\xD2 abc");

  // Characters GBK lacks, left out by the edge, are named before the run or
  // the refusal.
  offers.keywordLeftOut = "\xF0\x9F\x98\x80";
  SettingsReading named = readRunSettings(offers);
  ASSERT_TRUE(named.request);
  EXPECT_NE(named.leftOutWarning.find("\xF0\x9F\x98\x80"), std::string::npos) << named.leftOutWarning;
  offers.keyword = " ";
  named = readRunSettings(offers);
  EXPECT_EQ(named.refusal, literals::kFillKeyword) << "a keyword left empty by that is none";
  EXPECT_FALSE(named.leftOutWarning.empty());

  RunSettings sellers = RunSettings::defaults(Job::Sellers, "item.taobao.com");
  sellers.pagesText.clear();  // the seller search reads an empty page count as 0 pages
  const SettingsReading seller = readRunSettings(sellers);
  ASSERT_TRUE(seller.request);
  EXPECT_EQ(seller.request->pages, 0);
  EXPECT_EQ(seller.request->levelFilter, literals::kAllCreditLevels);
  sellers.pagesText = "abc";
  EXPECT_EQ(readRunSettings(sellers).refusal, literals::kPageCountNotNumber);
  sellers.pagesText = "2";
  sellers.levelText = " 5\xD7\xEA\r\n";
  EXPECT_EQ(readRunSettings(sellers).request->levelFilter, "5\xD7\xEA");
  sellers.keyword.clear();
  EXPECT_EQ(readRunSettings(sellers).refusal, literals::kFillKeyword);

  RunSettings buyers = RunSettings::defaults(Job::Buyers, "item.taobao.com");
  EXPECT_EQ(buyers.itemAddress, "http://item.taobao.com" + std::string(literals::kSampleItemPath));
  buyers.itemAddress = "\r\n " + buyers.itemAddress + "\xA1\xA1\r\n";
  EXPECT_EQ(readRunSettings(buyers).request->itemAddress,
            "http://item.taobao.com" + std::string(literals::kSampleItemPath));
  buyers.itemAddress.clear();
  EXPECT_TRUE(readRunSettings(buyers).request) << "an item address is not checked here: its download is";
}

TEST(RunRequest, ItsFieldsGiveItBack) {
  RunRequest request;
  request.job = Job::Sellers;
  request.keyword = "\xBA\xCB\xCC\xD2";
  request.pages = 7;
  request.sort = OfferSort::Price;
  request.alipay = true;
  request.itemAddress = "http://i/x";
  request.levelFilter = "3\xD7\xEA";
  EXPECT_EQ(RunRequest::fromFields(request.fields()), request);
  EXPECT_FALSE(RunRequest::fromFields({{"job", "9"}, {"pages", "1"}, {"sort", "1"}}));
  EXPECT_FALSE(RunRequest::fromFields({{"job", "0"}}));
}

TEST(PageWalk, EachJobsNextPage) {
  PageWalk offers(Job::Offers, 3);
  const std::string first = "http://h/o?keywords=a#beginPage=1";
  EXPECT_EQ(offers.nextAfter(first), "http://h/o?keywords=a#beginPage=2");
  EXPECT_EQ(offers.nextAfter("http://h/o?keywords=a#beginPage=2"), "http://h/o?keywords=a#beginPage=3");
  EXPECT_FALSE(offers.nextAfter("http://h/o?keywords=a#beginPage=3"));

  PageWalk sellers(Job::Sellers, 2);
  EXPECT_EQ(sellers.nextAfter("http://t/search?&q=a"), "http://t/search?&q=a&s=40");
  EXPECT_FALSE(sellers.nextAfter("http://t/search?&q=a&s=40"));

  PageWalk buyers(Job::Buyers, 0);
  std::string review = "http://r/detail_rate.htm?currentPage=1";
  int pages = 1;
  while (const auto next = buyers.nextAfter(review)) {
    review = *next;
    ++pages;
  }
  EXPECT_EQ(pages, 102);
  EXPECT_EQ(review, "http://r/detail_rate.htm?currentPage=102");
}

TEST(NextPageRule, AddressesOfTheNextPage) {
  const std::string offer = "http://h/selloffer/offer_search.htm?keywords=a&n=y#beginPage=1";
  EXPECT_EQ(offerPageAddress(offer, 7), "http://h/selloffer/offer_search.htm?keywords=a&n=y#beginPage=7");
  EXPECT_EQ(reviewPageAddress("http://r/detail_rate.htm?a=1&currentPage=9&x=1"), "http://r/detail_rate.htm?a=1&currentPage=10");
  EXPECT_EQ(reviewPageAddress("http://r/x?currentPage="), "http://r/x?currentPage=1");
  // One "&s=" only: its value is replaced, wherever it stands.
  EXPECT_EQ(sellerPageAddress("http://t/search?&q=a", 40), "http://t/search?&q=a&s=40");
  EXPECT_EQ(sellerPageAddress("http://t/search?&q=a&s=40", 80), "http://t/search?&q=a&s=80");
  EXPECT_EQ(sellerPageAddress("http://t/search?&s=0&q=a", 40), "http://t/search?&s=40&q=a");
  // "&sort=" is another key.
  EXPECT_EQ(sellerPageAddress("http://t/search?&q=a&sort=x", 40), "http://t/search?&q=a&sort=x&s=40");
  // Without its key a next address is nothing but the number: it fails like any bad address.
  EXPECT_EQ(offerPageAddress("http://h/other", 2), "2");
}

}  // namespace
}  // namespace gleaner
