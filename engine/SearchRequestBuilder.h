// The first result page address of a search job, built from its request.
#pragma once

#include <string>

#include "engine/RunRequest.h"
#include "extract/Sites.h"

namespace gleaner {

// The query part of an offer search's sort order ("&sortType=..."), or ""
// for none.
std::string sortQueryPart(OfferSort sort);

// The query parts of the offer search's three filters, in their order.
std::string filterQueryParts(const RunRequest& request);

// Offers: http://<offer search host>/selloffer/offer_search.htm?keywords=<encoded>
// <sort><filters>&button_click=top&earseDirect=false&n=y#beginPage=1
// Sellers: http://<Taobao search host>/search?&q=<encoded>
// Buyers have none: their first page comes from the item page.
std::string searchAddress(const RunRequest& request, const Sites& sites);

}  // namespace gleaner
