#include <gtest/gtest.h>

#include "engine/MemoryWindow.h"
#include "engine/NextPageRule.h"
#include "engine/SearchRequestBuilder.h"
#include "engine/UrlEncoder.h"

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
  MemoryWindow window;
  window.checkSortRadio(ids::kSortPopular);
  window.setCheckState(TabPage::Search, ids::kFilterBuyerProtection, CheckState::Checked);
  window.setCheckState(TabPage::Search, ids::kFilterOnline, CheckState::Checked);
  Sites sites;
  EXPECT_EQ(offerSearchAddress(sites, "abc", sortQueryPart(window), filterQueryParts(window)),
            "http://s.1688.com/selloffer/offer_search.htm?keywords=abc&sortType=pop&isCreditFlag=true"
            "&onlineStatus=yes&button_click=top&earseDirect=false&n=y#beginPage=1");
}

TEST(SearchRequestBuilder, SortRadiosAndIndeterminateBoxes) {
  MemoryWindow window;
  const std::pair<int, const char*> cases[] = {
      {ids::kSortNormal, "&sortType=normal"}, {ids::kSortBooked, "&sortType=booked"},
      {ids::kSortCredit, "&sortType=normal"}, {ids::kSortNewest, "&sortType=normal"},
      {ids::kSortPrice, "&sortType=price"},   {0, ""}};
  for (const auto& [radio, part] : cases) {
    window.checkSortRadio(radio);
    EXPECT_EQ(sortQueryPart(window), part) << radio;
  }
  window.setCheckState(TabPage::Search, ids::kFilterAlipay, CheckState::Indeterminate);
  // The hidden boxes are not read.
  window.setCheckState(TabPage::Search, ids::kFilterMixedHidden, CheckState::Checked);
  EXPECT_EQ(filterQueryParts(window), "&isOnlyAlipay=true");
}

TEST(SearchRequestBuilder, SellerAddressStartsTheQueryWithTheKeyword) {
  EXPECT_EQ(sellerSearchAddress(Sites{}, "abc"), "http://s.taobao.com/search?&q=abc");
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
