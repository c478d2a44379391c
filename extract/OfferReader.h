// The 1688 offer search: one row per offer of a result page, with the
// product name read from the offer's own page.
#pragma once

#include <string>

#include "extract/PageReader.h"

namespace gleaner {

// What an offer record gives: the merchant name before its first
// "memberid=", the member ID and the offer ID between their markers' quotes,
// and the offer page's address on the offer detail host.
struct OfferRecord {
  std::string merchantName;
  std::string memberId;
  std::string offerAddress;
};
OfferRecord cutOfferRecord(std::string record, const std::string& offerDetailHost);

class OfferReader : public PageReader {
 public:
  explicit OfferReader(const ReaderContext& context);

  // The product name on an offer page: the offer detail rule's first
  // non-empty record, or "". Throws ExtractionFailure when the rule fails.
  std::string productNameOf(const std::string& offerPage);

 protected:
  void readRecord(const std::string& page, std::string record) override;
};

}  // namespace gleaner
