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
// The whole address, then "&s=" and the offset.
std::string sellerPageAddress(const std::string& address, int offset);

// Offer search: PageCursor counts the page; the next page is queued while
// PageCursor <= the page count.
void applyOfferRule(const std::string& address, const std::string& pagesText, CollectionState& state);
// Buyers: at most 101 next review pages after the first.
void applyBuyersRule(const std::string& address, CollectionState& state);
// Seller search: offsets 0, 40, 80, ... up to 40 x the page count.
void applySellerRule(const std::string& address, const std::string& pagesText, CollectionState& state);

}  // namespace gleaner
