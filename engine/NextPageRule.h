// How a downloaded page queues its successor, one rule per job. Each page
// queues at most one next address, so a run has one page in flight.
#pragma once

#include <string>

namespace gleaner {

class CollectionState;

// The address up to and including its first "beginPage=", then n.
std::string offerPageAddress(const std::string& address, int n);
// The address up to just after its first "currentPage=", then that number + 1.
// Whatever followed the old number is not carried over.
std::string reviewPageAddress(const std::string& address);
// The address with the value of its first "&s=" (up to the next "&" or the
// end) replaced by offset; "&s=" and offset appended when it has none.
std::string sellerPageAddress(const std::string& address, int offset);

// A run of N pages downloads pages 1 to N, each once; the first address is
// page 1 (offer search: it ends in "beginPage=1"; seller search: it has no
// offset, which is offset 0). A page count below 2 gives the first page only.

// Offer search: PageCursor counts the pages done; page PageCursor + 1 is
// queued while it is within the page count.
void applyOfferRule(const std::string& address, const std::string& pagesText, CollectionState& state);
// Buyers: at most 101 next review pages after the first.
void applyBuyersRule(const std::string& address, CollectionState& state);
// Seller search: PageCursor is the offset of the page done; the next page,
// 40 results on, is queued while it is within the page count (offsets 0, 40,
// ..., 40 x (N - 1)).
void applySellerRule(const std::string& address, const std::string& pagesText, CollectionState& state);

}  // namespace gleaner
