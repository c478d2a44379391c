#include "extract/PageExtractor.h"

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
constexpr const char* kProbeSource = "item page probe";

}  // namespace

std::string PageExtractor::ItemPageProbe(const std::string& page) {
  std::string address;
  guarded([&] { address = findReviewAddress(page); });
  return address + "#" + PageTitleReader(page);
}

std::string PageExtractor::findReviewAddress(const std::string& page) {
  const std::string hostBase = "http://" + sites_.ratingHost;
  std::string address;
  scan(reviewPattern(sites_.ratingHost), kProbeSource, page, {}, [&](const std::string& record) {
    if (record.empty() || !gbk::contains(record, hostBase)) return true;
    // Cutting before "&ismore" also drops the record's tab; a value without
    // "&ismore" gives no address at all.
    address = gbk::before(record + "\r\n", "&ismore");
    return false;
  });
  return address;
}

std::string PageExtractor::PageTitleReader(const std::string& page) {
  std::string title;
  guarded([&] { title = readTitle(page); });
  return title;
}

std::string PageExtractor::readTitle(const std::string& page) {
  std::string title;
  scan(kTitlePattern, kProbeSource, page, {}, [&](const std::string& record) {
    if (record.empty()) return true;
    title = record + "\r\n";
    return false;
  });
  return title;
}

}  // namespace gleaner
