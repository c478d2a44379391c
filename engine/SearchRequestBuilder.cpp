#include "engine/SearchRequestBuilder.h"

#include <array>
#include <utility>

#include "engine/UrlEncoder.h"

namespace gleaner {

namespace {

bool boxCounts(CheckState state) { return state != CheckState::Unchecked; }

}  // namespace

std::string sortQueryPart(MainWindowView& window) {
  // "信用" and "最新" have no sort of their own on the site.
  static constexpr std::array<std::pair<int, const char*>, 6> kSorts = {{
      {ids::kSortNormal, "&sortType=normal"},
      {ids::kSortPopular, "&sortType=pop"},
      {ids::kSortBooked, "&sortType=booked"},
      {ids::kSortCredit, "&sortType=normal"},
      {ids::kSortNewest, "&sortType=normal"},
      {ids::kSortPrice, "&sortType=price"},
  }};
  for (const auto& [id, part] : kSorts) {
    if (window.checkState(TabPage::Search, id) == CheckState::Checked) return part;
  }
  return {};
}

std::string filterQueryParts(MainWindowView& window) {
  std::string parts;
  if (boxCounts(window.checkState(TabPage::Search, ids::kFilterBuyerProtection))) parts += "&isCreditFlag=true";
  if (boxCounts(window.checkState(TabPage::Search, ids::kFilterAlipay))) parts += "&isOnlyAlipay=true";
  if (boxCounts(window.checkState(TabPage::Search, ids::kFilterOnline))) parts += "&onlineStatus=yes";
  return parts;
}

std::string offerSearchAddress(const Sites& sites, const std::string& keyword, const std::string& sortPart,
                               const std::string& filterParts) {
  return "http://" + sites.offerSearchHost + "/selloffer/offer_search.htm?keywords=" + UrlEncoder(keyword) +
         sortPart + filterParts + "&button_click=top&earseDirect=false&n=y#beginPage=1";
}

std::string sellerSearchAddress(const Sites& sites, const std::string& keyword) {
  return "http://" + sites.taobaoSearchHost + "/search?&q=" + UrlEncoder(keyword);
}

}  // namespace gleaner
