// What a buyers run needs from the item page it starts with: the address of
// the item's first review page, found in the page's "data-reviewApi"
// attribute, and the page's title, which every buyer's row carries. Two
// fixed patterns, not rule files.
#pragma once

#include <string>

namespace gleaner {

struct ItemProbe {
  // The review address up to its "&ismore"; empty when the page names none
  // on the rating host (a shop page, an item without reviews, an error page).
  std::string reviewAddress;
  // The first non-empty title, cleaned, then tab, CR, LF; empty without one.
  std::string title;
  // Why a probe's search gave up (a crafted page); empty normally.
  std::string failure;
};

// ratingHost: the host a review address must be on.
ItemProbe probeItemPage(const std::string& page, const std::string& ratingHost);

}  // namespace gleaner
