#include "extract/ItemPageProbe.h"

#include "extract/PatternError.h"
#include "extract/PatternScan.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

// Two capture groups: the review address, and a lone "/" that the cleaner
// removes, so the address itself is never cleaned. The host's dots stay
// unescaped and match any character; the host-base check below is what
// insists on the real host.
std::string reviewPattern(const std::string& ratingHost) {
  return "(?:data-reviewApi=[\"|'](http://" + ratingHost + "(/)detail_rate.htm.*?)[\"|'])";
}

constexpr const char* kTitlePattern = "(?:<title>(.*?)</title>)";

std::string findReviewAddress(const std::string& page, const std::string& ratingHost) {
  const std::string hostBase = "http://" + ratingHost;
  std::string address;
  PatternScan(reviewPattern(ratingHost), page, [&](const std::string& record) {
    if (record.empty() || !gbk::contains(record, hostBase)) return true;
    // Cutting before "&ismore" also drops the record's tab; a value without
    // "&ismore" gives no address at all.
    address = gbk::before(record + "\r\n", "&ismore");
    return false;
  });
  return address;
}

std::string findTitle(const std::string& page) {
  std::string title;
  PatternScan(kTitlePattern, page, [&](const std::string& record) {
    if (record.empty()) return true;
    title = record + "\r\n";
    return false;
  });
  return title;
}

// The probe's patterns are fixed; only a crafted page can make a search give up.
template <typename Find>
std::string guarded(Find find, std::string& failure) {
  try {
    return find();
  } catch (const PatternError& e) {
    failure = "item page probe\r\nPattern failed: " + gbk::printable(e.what()) + "\r\n";
    return {};
  }
}

}  // namespace

ItemProbe probeItemPage(const std::string& page, const std::string& ratingHost) {
  ItemProbe probe;
  probe.reviewAddress = guarded([&] { return findReviewAddress(page, ratingHost); }, probe.failure);
  probe.title = guarded([&] { return findTitle(page); }, probe.failure);
  return probe;
}

}  // namespace gleaner
