// The extraction operations of one page. A PageExtractor lives for one page
// (or, at a buyers run's start, for the item page). It holds no data of its
// own beyond where rows go and which hosts to use.
//
// A failure inside an operation (a rule file or secondary page that cannot be
// downloaded, a pattern that does not compile or runs away) ends that
// operation: rows already appended stay, no further rows follow, the failure
// is reported through ExtractorWindow::reportStatus, and nothing is thrown.
#pragma once

#include <string>

#include "extract/ExtractorWindow.h"
#include "extract/Sites.h"

namespace gleaner {

class PageExtractor {
 public:
  PageExtractor(ExtractorWindow& window, const Sites& sites);
  virtual ~PageExtractor() = default;
  PageExtractor(const PageExtractor&) = delete;
  PageExtractor& operator=(const PageExtractor&) = delete;

  // One row per buyer of a review page (job 1).
  void BuyerListExtractor(std::string page);
  // One row per offer of a 1688 offer search page (job 0); downloads every
  // offer's page for its product name.
  void OfferListExtractor(std::string page);
  // The product name of an offer page: its first non-empty record, or "".
  std::string OfferDetailExtractor(const std::string& page);
  // One row per product of a Taobao search page whose seller passes the
  // level filter (job 2); a 500 ms pause follows every product record.
  void SellerExtractor(std::string page);
  std::string SellerBlockLookup(const std::string& page, const std::string& itemId);
  std::string RatingSummaryLookup(const std::string& ratingPage);
  static std::string CreditLevelText(const std::string& scoreText);

  // Review address, "#", and the page title (cleaned, then tab, CR, LF).
  std::string ItemPageProbe(const std::string& page);
  std::string PageTitleReader(const std::string& page);

 private:
  ExtractorWindow& window_;
  const Sites& sites_;
};

}  // namespace gleaner
