// The first page addresses of the jobs, built from the tab pages' settings.
#pragma once

#include <string>

#include "engine/MainWindowView.h"
#include "extract/Sites.h"

namespace gleaner {

// The query part of the checked sort radio button of the offer search page
// ("&sortType=..."), or "" when none is checked.
std::string sortQueryPart(MainWindowView& window);

// The filter parts of the offer search page's three read check boxes; a box
// counts when it is checked or indeterminate.
std::string filterQueryParts(MainWindowView& window);

// http://<offer search host>/selloffer/offer_search.htm?keywords=<encoded>
// <sort><filters>&button_click=top&earseDirect=false&n=y#beginPage=1
std::string offerSearchAddress(const Sites& sites, const std::string& keyword, const std::string& sortPart,
                               const std::string& filterParts);

// http://<Taobao search host>/search?&q=<encoded>
std::string sellerSearchAddress(const Sites& sites, const std::string& keyword);

}  // namespace gleaner
