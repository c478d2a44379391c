// How a downloaded page gives its successor, one rule per job. Each page
// gives at most one next address, so a run has one page in flight.
#pragma once

#include <optional>
#include <string>

#include "text/Job.h"

namespace gleaner {

// The address up to and including its first "beginPage=", then n.
std::string offerPageAddress(const std::string& address, int n);
// The address up to just after its first "currentPage=", then that number + 1.
// Whatever followed the old number is not carried over.
std::string reviewPageAddress(const std::string& address);
// The address with the value of its first "&s=" (up to the next "&" or the
// end) replaced by offset; "&s=" and offset appended when it has none.
std::string sellerPageAddress(const std::string& address, int offset);

// How one run walks its result pages: after each page read, the address of
// the next one, if the walk goes on. A run of N pages reads pages 1 to N,
// each once; the first address is page 1 (offer search: it ends in
// "beginPage=1"; seller search: it has no offset, which is offset 0). A page
// count below 2 gives the first page only. Buyers walk at most 101 review
// pages after the first.
class PageWalk {
 public:
  // firstPage: the number of the walk's first page; a walk that goes on
  // from where a stopped run stood starts later than 1.
  PageWalk(Job job, int pages, int firstPage = 1);

  std::optional<std::string> nextAfter(const std::string& address);

 private:
  const Job job_;
  const int pages_;
  // Offer search: pages done. Seller search: the result offset of the latest
  // page queued (the first page has offset 0).
  int pageCursor_ = 0;
  // Buyers: review pages queued so far.
  int reviewPagesQueued_ = 0;
};

}  // namespace gleaner
