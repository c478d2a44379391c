#include "cli/RuleTrial.h"

#include "engine/MemoryWindow.h"
#include "extract/PageExtractor.h"
#include "extract/PatternScan.h"
#include "extract/RuleFetcher.h"
#include "extract/RuleObserver.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner::cli {

namespace {

// Counts the tried rule's matches in the extractor's scan, so that each row
// appended is known to come of the match in hand.
class MatchCounter : public RuleObserver {
 public:
  explicit MatchCounter(const RuleFile& rule) : rule_(rule) {}
  void ruleApplied(const RuleFile&) override {}
  void matchFound(const RuleFile& rule, const MatchDetail&, const std::string&) override {
    if (&rule == &rule_) ++current_;
  }
  void ruleFailed(const RuleFile&, RuleFailure) override {}
  int current() const { return current_; }

 private:
  const RuleFile& rule_;
  int current_ = -1;
};

// The run's own extractor over the page, the tried rule in place of the
// rule server's.
void buildRows(const RuleTrialInput& input, RuleTrialResult& result) {
  MemoryWindow window;
  MatchCounter counter(*input.rule);
  RunContext run;
  run.settings.ruleTexts[std::string(input.rule->path)] = input.ruleText;
  run.settings.levelFilterText = std::string(literals::kAllCreditLevels);
  run.ruleObserver = &counter;
  window.onRowAppended = [&](const ResultRow& row) {
    const int at = counter.current();
    if (at >= 0 && at < static_cast<int>(result.matches.size())) result.matches[static_cast<std::size_t>(at)].row = row;
  };
  PageExtractor extractor(window, input.sites, run);
  switch (input.rule->job) {
    case RuleJob::Offers: extractor.OfferListExtractor(input.page); break;
    case RuleJob::Buyers: extractor.BuyerListExtractor(input.page); break;
    case RuleJob::Sellers: extractor.SellerExtractor(input.page); break;
  }
  result.rowReports = window.reports();
}

// What a lookup's records give the job, cut as the extractor cuts them.
void readCells(const RuleFile& rule, RuleTrialResult& result) {
  bool used = false;
  for (TrialMatch& match : result.matches) {
    if (match.record.empty()) continue;
    if (&rule == &rules::kOfferDetail && !used) {
      match.cells.emplace_back(0, match.record);  // the first non-empty record is the product name
      used = true;
    } else if (&rule == &rules::kSellerBlock) {
      // The run takes the block that holds the product's item id.
      if (const auto seller = PageExtractor::sellerBlockFields(gbk::removeAll(match.record, " "))) {
        match.cells.emplace_back(1, seller->sellerId);
        match.cells.emplace_back(2, seller->nickname);
      }
    } else if (&rule == &rules::kRatingSummary && !used && gbk::contains(match.record, "href")) {
      used = true;
      if (const auto credit = PageExtractor::readCredit(match.record + "\r\n")) match.cells.emplace_back(3, credit->cell());
    }
  }
}

}  // namespace

RuleTrialResult tryRule(const RuleTrialInput& input) {
  RuleTrialResult result;
  result.pattern = ruleTextToPattern(input.ruleText);
  try {
    const PatternShape shape = InspectPattern(result.pattern);
    result.groupCount = shape.groups;
    result.matchesEmptyText = shape.matchesEmptyText;
    PatternScanMatches(result.pattern, input.page, [&](const MatchDetail& detail, const std::string& record) {
      TrialMatch match;
      match.begin = detail.begin;
      match.end = detail.end;
      for (std::size_t k = 1; k < detail.groups.size(); ++k) {
        if (detail.participated[k]) {
          match.groups.emplace_back(std::string(detail.groups[k]));
        } else {
          match.groups.emplace_back(std::nullopt);
        }
      }
      match.record = record;
      if (match.begin == match.end && !result.emptyMatchAt) result.emptyMatchAt = match.begin;
      result.matches.push_back(std::move(match));
      return true;
    });
  } catch (const PatternError& e) {
    result.failure = e;
  }
  if (result.emptyMatchAt) result.matchesEmptyText = true;
  // A scan that failed would fail the run's page too: no rows of it.
  if (input.rule == nullptr || result.failure || result.matches.empty()) return result;
  if (input.rule->role == RuleRole::List) buildRows(input, result);
  if (input.rule->role == RuleRole::Lookup) readCells(*input.rule, result);
  return result;
}

}  // namespace gleaner::cli
