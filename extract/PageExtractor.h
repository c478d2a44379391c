// The extraction operations of one page. A PageExtractor lives for one page
// (or, at a buyers run's start, for the item page). It holds no data of its
// own beyond where rows go and which hosts to use.
//
// A failure inside an operation (a rule file or secondary page that cannot be
// downloaded, a pattern that does not compile or runs away) ends that
// operation: rows already appended stay, no further rows follow, the failure
// is reported through ExtractorWindow::reportStatus, and nothing is thrown.
#pragma once

#include <functional>
#include <string>
#include <string_view>

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
  using RecordHandler = std::function<bool(const std::string& record)>;

  // The cores of the operations above. They throw ExtractionFailure, which
  // the public operations turn into a report at their boundary.
  void appendOfferRow(const std::string& record);
  std::string readOfferDetail(const std::string& page);
  void handleProductRecord(const std::string& page, const std::string& record);
  std::string findSellerBlock(const std::string& page, const std::string& itemId);
  std::string findRatingSummary(const std::string& ratingPage);
  std::string findReviewAddress(const std::string& page);
  std::string readTitle(const std::string& page);

  // RuleFetcher for one address; a failure becomes the address's
  // "Download failed!" line.
  std::string download(const std::string& address);
  // Downloads the rule file at rulePath on the rule server and scans text
  // with its pattern.
  void scanWithRule(std::string_view rulePath, const std::string& text, const RecordHandler& handler);
  // PatternScan; a pattern failure becomes a line naming source.
  void scan(const std::string& pattern, const std::string& source, const std::string& text,
            const RecordHandler& handler);
  // Runs one public operation: nothing it throws gets past here; failures are
  // reported to the window like a failed page.
  void guarded(const std::function<void()>& operation);

  ExtractorWindow& window_;
  const Sites& sites_;
};

}  // namespace gleaner
