// The sample site's pages, GBK, built like the sites' pages of their time:
// 1688 offer search results and offer pages, a Taobao item page with its
// review interface and the review pages it answers, Taobao search results and
// seller rating pages. Tests and benchmarks use them without the server.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "extract/Sites.h"
#include "sample-site/SampleCatalog.h"

namespace gleaner::sample {

enum class PageKind { OfferSearch, OfferDetail, Item, Reviews, TaobaoSearch, SellerRating };

class SamplePages {
 public:
  // Links inside the pages name these hosts.
  explicit SamplePages(Sites hosts = {});

  // padTo > 0 adds what big real pages carry (scripts, navigation, long
  // descriptions, long reviews) until the page holds at least padTo bytes;
  // the records the rule files find stay the same.
  std::string offerSearchPage(std::string_view keyword, int page, std::size_t padTo = 0) const;
  std::string offerDetailPage(std::string_view offerId, std::size_t padTo = 0) const;
  std::string itemPage(std::string_view itemId, std::size_t padTo = 0) const;
  std::string reviewPage(std::string_view itemId, int page, std::size_t padTo = 0) const;
  std::string taobaoSearchPage(std::string_view keyword, int offset, std::size_t padTo = 0) const;
  std::string sellerRatingPage(std::string_view sellerId, std::size_t padTo = 0) const;
  std::string notFoundPage() const;

  // A page of the kind of about this many bytes (the benchmarks use 200 and
  // 400 KB), for the default keyword, the sample item and their first pages.
  std::string bigPage(PageKind kind, std::size_t bytes) const;

  // The value of the item page's data-reviewApi attribute.
  std::string reviewApiAddress(const Item& item) const;
  // "http://" + the offer-detail host + "/offer/" + id + ".html"
  std::string offerAddress(std::string_view offerId) const;
  // "http://" + the rating host + "/user-rate-" + id + ".htm"
  std::string sellerRatingAddress(std::string_view sellerId) const;

  // The rank icon file of a credit score ("s_blue_3.gif"); empty below 4 points.
  static std::string rankIcon(int score);

 private:
  Sites hosts_;
};

}  // namespace gleaner::sample
