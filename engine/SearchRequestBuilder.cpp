#include "engine/SearchRequestBuilder.h"

#include "engine/UrlEncoder.h"

namespace gleaner {

std::string sortQueryPart(OfferSort sort) {
  // "信用" and "最新" have no sort of their own on the site.
  switch (sort) {
    case OfferSort::Normal:
    case OfferSort::Credit:
    case OfferSort::Newest: return "&sortType=normal";
    case OfferSort::Popular: return "&sortType=pop";
    case OfferSort::Booked: return "&sortType=booked";
    case OfferSort::Price: return "&sortType=price";
    case OfferSort::None: break;
  }
  return {};
}

std::string filterQueryParts(const RunRequest& request) {
  std::string parts;
  if (request.buyerProtection) parts += "&isCreditFlag=true";
  if (request.alipay) parts += "&isOnlyAlipay=true";
  if (request.online) parts += "&onlineStatus=yes";
  return parts;
}

std::string searchAddress(const RunRequest& request, const Sites& sites) {
  switch (request.job) {
    case Job::Offers:
      return "http://" + sites.offerSearchHost + "/selloffer/offer_search.htm?keywords=" + UrlEncoder(request.keyword) +
             sortQueryPart(request.sort) + filterQueryParts(request) +
             "&button_click=top&earseDirect=false&n=y#beginPage=1";
    case Job::Sellers: return "http://" + sites.taobaoSearchHost + "/search?&q=" + UrlEncoder(request.keyword);
    case Job::Buyers: break;
  }
  return {};
}

}  // namespace gleaner
