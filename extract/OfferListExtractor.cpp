#include "extract/PageExtractor.h"

#include <atomic>
#include <cstddef>

#include "text/GbkText.h"

namespace gleaner {

namespace {

// text less its first `head` bytes and its last byte; "" when nothing is left.
std::string between(const std::string& text, std::size_t head) {
  if (text.size() <= head + 1) return {};
  return text.substr(head, text.size() - head - 1);
}

std::string withoutLineBreaksAndTabs(std::string text) {
  text = gbk::removeAll(text, "\r");
  text = gbk::removeAll(text, "\n");
  return gbk::removeAll(text, "\t");
}

}  // namespace

bool PageExtractor::OfferListExtractor(const std::string& page) {
  return readListPage(rules::kOfferList, page, [&](const std::string& record) {
    if (!record.empty()) appendOfferRow(record);
    return true;
  });
}

void PageExtractor::appendOfferRow(const std::string& record) {
  std::atomic<int>& counter = window_.runFields().offerRowCounter;
  // The row is counted before the offer page is fetched.
  const std::string countText = std::to_string(++counter);
  try {
    const std::string merchantName = gbk::before(record, "memberid=");
    const std::string memberPart = withoutLineBreaksAndTabs(gbk::fromMarker(record, "memberid="));
    // "memberid=" and one enclosing character before the ID, one after it;
    // likewise for "offerid=".
    const std::string memberId = between(gbk::before(memberPart, "offerid="), 10);
    const std::string offerId = between(gbk::fromMarker(memberPart, "offerid="), 9);
    const std::string offerAddress = "http://" + sites_.offerDetailHost + "/offer/" + offerId + ".html";
    const std::string productName = readOfferDetail(download(offerAddress));
    appendRow({productName, merchantName, memberId, offerAddress}, countText);
  } catch (...) {
    // A row that is never appended must not stay counted.
    --counter;
    throw;
  }
}

std::string PageExtractor::OfferDetailExtractor(const std::string& page) {
  std::string name;
  guarded([&] { name = readOfferDetail(page); });
  return name;
}

std::string PageExtractor::readOfferDetail(const std::string& page) {
  std::string name;
  scanWithRule(rules::kOfferDetail, page, Scope::Lookup, [&](const std::string& record) {
    name = record;
    return record.empty();
  });
  return name;
}

}  // namespace gleaner
