#include "engine/NextPageRule.h"

#include <algorithm>
#include <cstdint>

#include "text/GbkText.h"

namespace gleaner {

namespace {

constexpr std::string_view kBeginPage = "beginPage=";
constexpr std::string_view kCurrentPage = "currentPage=";
constexpr std::string_view kOffset = "&s=";
constexpr int kReviewPagesAfterFirst = 100;  // tested before the count goes up: 101 more pages
constexpr std::int64_t kResultsPerPage = 40;

// The text up to and including the first marker; a missing marker cuts
// nothing off the front, like any cut before a missing marker: empty.
std::string upToAndIncluding(const std::string& text, std::string_view marker) {
  const std::size_t hit = gbk::find(text, marker);
  return hit == gbk::npos ? std::string() : text.substr(0, hit + marker.size());
}

}  // namespace

std::string offerPageAddress(const std::string& address, int n) {
  return upToAndIncluding(address, kBeginPage) + std::to_string(n);
}

std::string reviewPageAddress(const std::string& address) {
  const std::string head = upToAndIncluding(address, kCurrentPage);
  const std::string tail = head.empty() ? address : address.substr(head.size());
  const std::int64_t next = std::int64_t{gbk::decimalToInt(tail)} + 1;
  return head + std::to_string(next);
}

std::string sellerPageAddress(const std::string& address, int offset) {
  // One "&s=" only: servers differ on which of two equal keys they take.
  const std::size_t key = gbk::find(address, kOffset);
  if (key == gbk::npos) return address + std::string(kOffset) + std::to_string(offset);
  const std::size_t value = key + kOffset.size();
  const std::size_t valueEnd = gbk::find(address, "&", value);
  return address.substr(0, value) + std::to_string(offset) + (valueEnd == gbk::npos ? "" : address.substr(valueEnd));
}

PageWalk::PageWalk(Job job, int pages, int firstPage) : job_(job), pages_(pages) {
  const int done = firstPage > 1 ? firstPage - 1 : 0;
  switch (job) {
    case Job::Offers: pageCursor_ = done; break;
    case Job::Sellers: pageCursor_ = static_cast<int>(std::min<std::int64_t>(kResultsPerPage * done, INT32_MAX)); break;
    case Job::Buyers: reviewPagesQueued_ = done; break;
  }
}

std::optional<std::string> PageWalk::nextAfter(const std::string& address) {
  switch (job_) {
    case Job::Offers: {
      const int next = ++pageCursor_ + 1;
      if (next > pages_) return std::nullopt;
      return offerPageAddress(address, next);
    }
    case Job::Buyers:
      if (reviewPagesQueued_ > kReviewPagesAfterFirst) return std::nullopt;
      ++reviewPagesQueued_;
      return reviewPageAddress(address);
    case Job::Sellers: {
      const std::int64_t next = std::int64_t{pageCursor_} + kResultsPerPage;
      // 64 bits: a page count of 2^31 - 1 must not wrap the product.
      if (next >= kResultsPerPage * pages_) return std::nullopt;
      pageCursor_ = static_cast<int>(next);
      return sellerPageAddress(address, pageCursor_);
    }
  }
  return std::nullopt;
}

}  // namespace gleaner
