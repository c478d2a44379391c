#include "sample-site/HostileFiller.h"

#include <string_view>

#include "sample-site/GbkLiteral.h"

namespace gleaner::sample {

namespace {

struct Crafted {
  std::string_view opening;  // once, before the repeats
  std::string repeated;      // the unit repeated until the filler is long enough
  std::string_view before;   // the filler goes right before the first occurrence of this
};

Crafted craftedFor(PageKind kind) {
  switch (kind) {
    // Each "<a " opens a link that never closes: a pattern that looks for
    // the offer's attributes up to the next ">" scans the rest of the page
    // from every one of them.
    case PageKind::OfferSearch: return {"", "<a class=sm-previewCompany ", "<ul id=\"sm-offer-list\""};
    case PageKind::OfferDetail: return {"", "<h1 class=\"d-title\" ", "<div id=\"mod-detail\""};
    case PageKind::Item: return {"", "<div data-reviewApi=\"http://rate.taobao.com/detail_rate.htm?", "<div id=\"reviews\""};
    case PageKind::Reviews: return {"", "\"buyer\":[ \"x\" , ", "{\"rateId\""};
    // One summary link with an endless run of candidate addresses.
    case PageKind::TaobaoSearch: return {"<h3 class=\"summary\"><a", " href=\"x\"", "<div id=\"list-content\""};
    case PageKind::SellerRating: return {"", gbkLiteral("卖家信用：") + "1 <a ", "<div class=\"personal-info\""};
  }
  return {};
}

}  // namespace

std::string hostileFiller(PageKind kind, std::size_t bytes) {
  const Crafted crafted = craftedFor(kind);
  std::string filler(crafted.opening);
  filler.reserve(bytes + crafted.repeated.size());
  while (filler.size() < bytes) filler += crafted.repeated;
  return filler + "\n";
}

std::string withHostileFiller(PageKind kind, std::string page, std::size_t bytes) {
  const std::size_t at = page.find(craftedFor(kind).before);
  page.insert(at == std::string::npos ? 0 : at, hostileFiller(kind, bytes));
  return page;
}

}  // namespace gleaner::sample
