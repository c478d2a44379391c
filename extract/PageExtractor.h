// The extraction operations of one page. A PageExtractor lives for one page
// (or, at a buyers run's start, for the item page). It holds no data of its
// own beyond where rows go, which hosts to use and the run it works for.
//
// A failure inside an operation (a rule file or secondary page that cannot be
// downloaded, a pattern that does not compile or runs away) ends that
// operation: rows already appended stay, no further rows follow, the failure
// is reported through ExtractorWindow::reportStatus, and nothing is thrown.
// A stop of the run ends a page's scan after the record in hand, without a
// report.
//
// A result page on which the job's list rule finds no record is tried with
// the job's empty-result marker (an optional rule file), so that the run can
// tell a page that is empty by the site's own word from a rule that no
// longer fits the site (pageReport).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "extract/ExtractorWindow.h"
#include "extract/PageReport.h"
#include "extract/PatternScan.h"
#include "extract/RuleCatalog.h"
#include "extract/RunContext.h"
#include "extract/Sites.h"

namespace gleaner {

class PageExtractor {
 public:
  // A rule file longer than this is refused as broken: the six real ones
  // are a few hundred bytes.
  static constexpr std::size_t kMaxRuleFileBytes = 64 * 1024;

  // run: the settings and the stop request of the run the page belongs to;
  // by default a run that never stops, with empty settings.
  PageExtractor(ExtractorWindow& window, const Sites& sites, const RunContext& run = standaloneRun());
  virtual ~PageExtractor() = default;
  PageExtractor(const PageExtractor&) = delete;
  PageExtractor& operator=(const PageExtractor&) = delete;

  // The three page operations return false when a failure ended the page
  // (it has been reported), true when the page was read to its end or to a
  // stop. pageReport() then tells what the page gave.

  // One row per buyer of a review page (job 1).
  bool BuyerListExtractor(const std::string& page);
  // One row per offer of a 1688 offer search page (job 0); downloads every
  // offer's page for its product name.
  bool OfferListExtractor(const std::string& page);
  // The product name of an offer page: its first non-empty record, or "".
  std::string OfferDetailExtractor(const std::string& page);
  // One row per product of a Taobao search page whose seller passes the
  // level filter (job 2); a 500 ms pause follows every product record, cut
  // short by a stop.
  bool SellerExtractor(const std::string& page);
  std::string SellerBlockLookup(const std::string& page, const std::string& itemId);
  std::string RatingSummaryLookup(const std::string& ratingPage);
  static std::string CreditLevelText(const std::string& scoreText);

  // What the seller job cuts from a seller block (spaces already removed):
  // the nickname before its first "http", the seller ID after its first
  // "user_number_id=" up to the next double quote. Nothing without them.
  struct SellerBlockFields {
    std::string nickname;
    std::string sellerId;
  };
  static std::optional<SellerBlockFields> sellerBlockFields(const std::string& block);
  // What it reads from a rating summary: the score text before its first
  // "<" less every "卖家信用：", and its level. Nothing without a "<".
  struct CreditReading {
    std::string scoreText;
    std::string level;
    std::string cell() const;  // level, ", ", "卖家信用: ", score text
  };
  static std::optional<CreditReading> readCredit(const std::string& summary);

  // Review address, "#", and the page title (cleaned, then tab, CR, LF).
  std::string ItemPageProbe(const std::string& page);
  std::string PageTitleReader(const std::string& page);

  // The latest page operation's findings.
  const PageReport& pageReport() const { return report_; }

  static const RunContext& standaloneRun();

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

  // A secondary page with RuleFetcher; a failure becomes the address's
  // "Download failed!" report with the reason.
  std::string download(const std::string& address);
  // A rule file's text: the run's own (RunSettings::ruleTexts) or the rule
  // server's, counted as applied by the run's rule observer. Nothing (and
  // not counted) for an empty-result marker the server does not have.
  std::optional<std::string> fetchRule(const RuleFile& rule);
  // The one place where a rule is fetched, compiled and scanned: fetches the
  // rule file and scans text with its pattern, telling the run's rule
  // observer. A page's own scan is stoppable (the run's stop ends it after
  // the record in hand); the lookups for the record in hand are not. False
  // when an optional rule is absent and nothing was scanned.
  enum class Scope { Page, Lookup };
  bool scanWithRule(const RuleFile& rule, const std::string& text, Scope scope, const RecordHandler& handler);
  // PatternScan; a pattern failure becomes a line naming source (and counts
  // against rule, when the pattern is one).
  void scan(const std::string& pattern, const std::string& source, const std::string& text,
            const ScanLimits& limits, const RecordHandler& handler, const RuleFile* rule = nullptr);
  // Runs one public operation: nothing it throws gets past here; failures are
  // reported to the window like a failed page. False after a failure.
  bool guarded(const std::function<void()>& operation);
  // A page operation: scans page with the list rule, counting its non-empty
  // records in report_ before handler takes each one; a page without any is
  // tried with the job's empty-result marker.
  bool readListPage(const RuleFile& listRule, const std::string& page, const RecordHandler& handler);
  EmptyResult checkEmptyResult(const RuleFile& marker, const std::string& page);
  // The window's append, counted in report_.
  void appendRow(const ResultRow& row, const std::string& countText);
  void reportFailure(const std::string& line);

  ExtractorWindow& window_;
  const Sites& sites_;
  const RunContext& run_;
  PageReport report_;
};

}  // namespace gleaner
