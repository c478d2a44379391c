// What the sample site sells: offers, products, sellers, items and their
// reviews, all derived from the request's own values, so that the same
// keyword and page (or id) always give the same rows. Texts are GBK.
//
// Ids carry what the other pages need to stay consistent with the search
// pages: a 1688 offer id is 8 digits of its own, 2 of the product kind and
// 1 variant (0: the offer was withdrawn and its page no longer names it); a
// Taobao item id is 5 digits of its own, 4 of its seller and 2 of the product
// kind; a seller id is "1", 4 digits of the seller and 4 more, and the seller's
// credit score follows from those 4 seller digits alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gleaner::sample {

// Keywords (as typed; they are plain ASCII) and item ids that behave in a
// documented way; SampleSite.h lists them all.
inline constexpr std::string_view kSlowKeyword = "slow";
inline constexpr std::string_view kMissingPage3Keyword = "missing3";
inline constexpr std::string_view kTinyKeyword = "tiny";
inline constexpr std::string_view kEmptyKeyword = "empty";
inline constexpr std::string_view kHostileKeyword = "hostile";
// Search pages (both sites) whose markup "changed": the offers and products
// of the default keyword, with the attributes and class the shipped list
// rules key on renamed, as a site redesign would.
inline constexpr std::string_view kChangedMarkupKeyword = "changed";
// The size of a hostile search page.
inline constexpr std::size_t kHostilePageBytes = 1024 * 1024;
inline constexpr std::string_view kSampleItemId = "19793658234";
inline constexpr std::string_view kItemWithoutReviews = "10000000001";
inline constexpr std::string_view kItemWithFailingReviews = "10000000004";
inline constexpr int kFirstFailingReviewPage = 4;
// An item whose review pages name their buyers under a renamed key.
inline constexpr std::string_view kChangedMarkupItem = "10000000007";
// An item whose every review page holds many buyers, for timing the window
// while rows arrive as fast as a run can bring them.
inline constexpr std::string_view kBusyItem = "10000000009";
inline constexpr int kBusyReviewPages = 102;
inline constexpr int kBusyReviewsPerPage = 100;
// Result pages beyond these numbers are valid pages without results.
inline constexpr int kOfferSearchPages = 50;
inline constexpr int kTaobaoSearchPages = 100;
inline constexpr int kTaobaoPageStep = 40;

struct Offer {
  std::string offerId;
  std::string title;     // the product name its page shows
  std::string merchant;  // company name, as in the merchant link's title
  std::string memberId;  // "b2b-…" or a plain login name
  std::string shopHost;
  std::string price;
  std::string unit;
  int sold = 0;
  bool withdrawn = false;
};

struct Seller {
  std::string sellerId;
  std::string nick;
  int score = 0;  // credit score on the rating page
  std::string location;
};

enum class ProductKind {
  Normal,
  Placeholder,  // a block whose summary link is still empty
  Reported,     // a product block whose summary link reads "举报该宝贝"
};

struct Product {
  ProductKind kind = ProductKind::Normal;
  std::string itemId;
  std::string title;
  std::string price;
  int dealt = 0;
  Seller seller;
};

struct Item {
  std::string itemId;
  std::string title;
  std::string price;
  Seller seller;
  int reviewPages = 0;       // review pages that hold buyers; later pages are empty
  bool hasReviewApi = true;  // whether the item page names its review interface
  bool changedMarkup = false;  // its review pages name buyers under "rater"
  int failingFromPage = 0;   // review pages from this number on fail; 0: none do
};

struct Review {
  bool accountGone = false;  // the rater's account no longer exists: "buyer":[]
  std::string nick;          // masked ("走***8") for anonymous raters
  std::string buyerId;
  std::string content;
  std::string date;
  std::string sku;
  int vipLevel = 0;
};

struct ReviewPage {
  int page = 1;
  int maxPage = 0;
  int total = 0;
  std::vector<Review> reviews;
};

class SampleCatalog {
 public:
  // Page 1 of every keyword lists a withdrawn offer in fourth place; page 2
  // the same merchant twice. "tiny" gives one offer per page, "empty" none.
  static std::vector<Offer> offerSearch(std::string_view keyword, int page);
  // Any id gives an offer; ids outside the scheme above are hashed.
  static Offer offer(std::string_view offerId);

  // The products of the search page at this "&s=" offset. Page 1 (offset 0)
  // of every keyword: the third product's seller has fewer than 4 points and
  // the last product shares the first one's seller. Page 2: an empty
  // placeholder block in second place and a reported product in fourth.
  // "tiny" and "empty" give no products.
  static std::vector<Product> taobaoSearch(std::string_view keyword, int offset);
  static Seller seller(std::string_view sellerId);

  static Item item(std::string_view itemId);
  // Page 2 of every item holds one rater whose account is gone.
  static ReviewPage reviews(std::string_view itemId, int page);

  // The product kind a keyword asks for: a known product word gives its own
  // kind, anything else a kind chosen by its hash.
  static int productKindFor(std::string_view keyword);
  static std::string productWord(int kind);
};

}  // namespace gleaner::sample
