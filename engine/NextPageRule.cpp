#include "engine/NextPageRule.h"

#include <cstdint>

#include "engine/CollectionState.h"
#include "engine/ProcessValues.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

constexpr std::string_view kBeginPage = "beginPage=";
constexpr std::string_view kCurrentPage = "currentPage=";
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
  return address + "&s=" + std::to_string(offset);
}

void applyOfferRule(const std::string& address, const std::string& pagesText, CollectionState& state) {
  const int cursor = ++PageCursor;
  if (cursor <= gbk::decimalToInt(pagesText)) queueAddress(offerPageAddress(address, cursor), state);
}

void applyBuyersRule(const std::string& address, CollectionState& state) {
  if (ReviewPagesQueued.load() > kReviewPagesAfterFirst) return;
  queueAddress(reviewPageAddress(address), state);
  ++ReviewPagesQueued;
}

void applySellerRule(const std::string& address, const std::string& pagesText, CollectionState& state) {
  const int cursor = PageCursor.load();
  // 64 bits: a typed page count of 2^31 - 1 must not wrap the product.
  if (cursor > kResultsPerPage * gbk::decimalToInt(pagesText)) return;
  queueAddress(sellerPageAddress(address, cursor), state);
  PageCursor += static_cast<int>(kResultsPerPage);
}

}  // namespace gleaner
