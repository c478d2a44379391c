#include "extract/OfferReader.h"

#include <cstddef>

#include "extract/RuleScan.h"
#include "extract/Sites.h"
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

OfferRecord cutOfferRecord(std::string record, const std::string& offerDetailHost) {
  const std::size_t member = gbk::find(record, "memberid=");
  const std::string memberPart =
      withoutLineBreaksAndTabs(member == gbk::npos ? record : record.substr(member));
  // "memberid=" and one enclosing character before the ID, one after it;
  // likewise for "offerid=".
  const std::string offerId = between(gbk::fromMarker(memberPart, "offerid="), 9);
  // The merchant name is what comes before "memberid=" (nothing without
  // it), cut in the record's own room.
  record.resize(member == gbk::npos ? 0 : member);
  return {std::move(record), between(gbk::before(memberPart, "offerid="), 10),
          "http://" + offerDetailHost + "/offer/" + offerId + ".html"};
}

OfferReader::OfferReader(const ReaderContext& context) : PageReader(context, rules::kOfferList) {}

void OfferReader::readRecord(const std::string&, std::string record) {
  if (record.empty()) return;
  OfferRecord offer = cutOfferRecord(std::move(record), context().sites.offerDetailHost);
  // An offer page that cannot be had leaves the product name empty; the
  // offer's row is kept.
  const std::optional<std::string> offerPage = lookup(offer.offerAddress);
  const std::string productName = offerPage ? productNameOf(*offerPage) : std::string();
  addRow({productName, std::move(offer.merchantName), offer.memberId, offer.offerAddress});
}

std::string OfferReader::productNameOf(const std::string& offerPage) {
  RuleScan scan(context().rules, rules::kOfferDetail, offerPage);
  while (const auto record = scan.next()) {
    if (!record->empty()) return *record;
  }
  return {};
}

}  // namespace gleaner
