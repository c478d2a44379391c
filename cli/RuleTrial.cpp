#include "cli/RuleTrial.h"

#include "extract/BuyerReader.h"
#include "extract/OfferReader.h"
#include "extract/PatternScan.h"
#include "extract/ReaderHost.h"
#include "extract/RuleObserver.h"
#include "extract/RuleSource.h"
#include "extract/SellerReader.h"
#include "extract/StopSignal.h"
#include "net/PageDownload.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner::cli {

namespace {

// The run's own reader over the page, the tried rule in place of the rule
// server's: each row is put beside the match of the tried rule it came of,
// and the further pages are downloaded as a run downloads them.
class TrialHost : public ReaderHost, public RuleObserver {
 public:
  TrialHost(const RuleFile& rule, RuleTrialResult& result) : rule_(rule), result_(result) {}

  void rowFound(ResultRow row) override {
    if (current_ >= 0 && current_ < static_cast<int>(result_.matches.size())) {
      result_.matches[static_cast<std::size_t>(current_)].row = row;
    }
  }
  std::string lookupPage(const std::string& address) override {
    try {
      return downloadPage(PageRequest::wholeAddress(address)).text;
    } catch (const std::exception& e) {
      throw LookupFailed(literals::downloadFailedReport(address, e.what()));
    }
  }
  void reportFailure(const std::string& report) override { result_.rowReports.push_back(report); }

  void ruleApplied(const RuleFile&) override {}
  void matchFound(const RuleFile& rule, const MatchDetail&, const std::string&) override {
    if (&rule == &rule_) ++current_;
  }
  void ruleFailed(const RuleFile&, RuleFailure) override {}

 private:
  const RuleFile& rule_;
  RuleTrialResult& result_;
  int current_ = -1;
};

void buildRows(const RuleTrialInput& input, RuleTrialResult& result) {
  TrialHost host(*input.rule, result);
  RuleSource rules(input.sites, &host);
  rules.useText(*input.rule, input.ruleText);
  const StopSignal neverStopped;
  const ReaderContext context{host, rules, input.sites, neverStopped};
  switch (input.rule->job) {
    case Job::Offers: OfferReader(context).read(input.page); break;
    case Job::Buyers: BuyerReader(context, {}, {}).read(input.page); break;
    case Job::Sellers: SellerReader(context, std::string(literals::kAllCreditLevels)).read(input.page); break;
  }
}

// What a lookup's records give the job, cut as the readers cut them.
void readCells(const RuleFile& rule, RuleTrialResult& result) {
  bool used = false;
  for (TrialMatch& match : result.matches) {
    if (match.record.empty()) continue;
    if (&rule == &rules::kOfferDetail && !used) {
      match.cells.emplace_back(0, match.record);  // the first non-empty record is the product name
      used = true;
    } else if (&rule == &rules::kSellerBlock) {
      // The run takes the block that holds the product's item id.
      if (const auto seller = sellerBlockFields(gbk::removeAll(match.record, " "))) {
        match.cells.emplace_back(1, seller->sellerId);
        match.cells.emplace_back(2, seller->nickname);
      }
    } else if (&rule == &rules::kRatingSummary && !used && gbk::contains(match.record, "href")) {
      used = true;
      if (const auto credit = readCredit(match.record + "\r\n")) match.cells.emplace_back(3, credit->cell());
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
