#include "engine/RunHealth.h"

namespace gleaner {

std::optional<std::string> RunHealth::pageRead(int pageNumber, const PageReport& report) {
  std::lock_guard lock(mutex_);
  ++counts_.pages;
  counts_.rows += report.rows;
  counts_.lookupsFailed += report.lookupsFailed;
  records_ += report.records;
  if (report.stopped && report.records == 0) return std::nullopt;  // read only in part: tells nothing
  if (!report.withoutRecords()) {
    // A page with records ends a streak; so does a failed page, which has
    // been reported on its own.
    streak_ = 0;
    return std::nullopt;
  }
  ++counts_.pagesWithoutRecords;
  if (report.emptyResult == EmptyResult::Empty) ++counts_.emptyResultPages;
  lastWithoutRecords_.emplace(pageNumber, report);
  if (++streak_ < 2) return std::nullopt;
  std::string warning = pageWarning(pageNumber, report);
  // One entry per streak in the run's list of warnings; the status line
  // follows every page of it.
  if (streak_ == 2) warnings_.push_back(warning);
  return warning;
}

std::string RunHealth::pageWarning(int pageNumber, const PageReport& report) {
  const RuleFile& rule = report.listRule != nullptr ? *report.listRule : rules::kOfferList;
  switch (report.emptyResult) {
    case EmptyResult::Empty:
      return rule.job == Job::Buyers ? literals::reviewsEmpty(pageNumber) : literals::searchResultEmpty(pageNumber);
    case EmptyResult::NotEmpty:
      return literals::ruleMayBeBroken(pageNumber, rule.name);
    default:
      return literals::ruleOrEmptyCannotTell(pageNumber, rule.name);
  }
}

std::string RunHealth::noRowsWarning() const {
  // The rule that failed most (the list rule first among equals) explains a
  // run whose extractions failed.
  const auto rules = tally_.counts();
  const std::pair<const RuleFile*, RuleCounts>* failing = nullptr;
  for (const auto& entry : rules) {
    if (entry.second.failed() > 0 && (failing == nullptr || entry.second.failed() > failing->second.failed())) {
      failing = &entry;
    }
  }
  if (records_ == 0) {
    if (failing != nullptr) return literals::ruleUnusable(failing->first->name, failing->second.failed());
    if (lastWithoutRecords_) return pageWarning(lastWithoutRecords_->first, lastWithoutRecords_->second);
    return {};
  }
  // Records but no rows: a lookup that never found anything is the suspect.
  for (const auto& [rule, counts] : rules) {
    if (rule->role == RuleRole::Lookup && counts.applied > 0 && counts.matched == 0 && counts.failed() == 0) {
      return literals::lookupRuleMayBeBroken(records_, rule->name, counts.applied);
    }
  }
  if (failing != nullptr) return literals::ruleUnusable(failing->first->name, failing->second.failed());
  return {};  // the rules worked; the filter kept nothing
}

std::string RunHealth::endOfRun() {
  std::lock_guard lock(mutex_);
  std::string warning;
  if (counts_.pages > 0 && counts_.rows == 0) {
    warning = noRowsWarning();
  } else if (streak_ >= 2) {
    // The streak is still on: its last page is the last without records.
    warning = pageWarning(lastWithoutRecords_->first, lastWithoutRecords_->second);
  }
  const std::string summary = literals::runSummary(countsNow());
  if (warning.empty()) return summary;
  if (warnings_.empty() || warnings_.back() != warning) warnings_.push_back(warning);
  return literals::endOfRunLine(summary, warning);
}

literals::RunCounts RunHealth::countsNow() const {
  literals::RunCounts counts = counts_;
  counts.ruleFailures = tally_.failures();
  return counts;
}

HealthReport RunHealth::report() const {
  std::lock_guard lock(mutex_);
  HealthReport report;
  report.counts = countsNow();
  report.records = records_;
  report.rules = tally_.counts();
  report.warnings = warnings_;
  report.summary = literals::runSummary(report.counts);
  return report;
}

}  // namespace gleaner
