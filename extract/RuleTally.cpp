#include "extract/RuleTally.h"

namespace gleaner {

void RuleTally::ruleApplied(const RuleFile& rule) {
  std::lock_guard lock(mutex_);
  ++counts_[&rule].applied;
}

void RuleTally::matchFound(const RuleFile& rule, const MatchDetail&, const std::string&) {
  std::lock_guard lock(mutex_);
  ++counts_[&rule].matched;
}

void RuleTally::ruleFailed(const RuleFile& rule, RuleFailure failure) {
  std::lock_guard lock(mutex_);
  RuleCounts& counts = counts_[&rule];
  switch (failure) {
    case RuleFailure::Download: ++counts.downloadFailed; break;
    case RuleFailure::Compile: ++counts.compileFailed; break;
    case RuleFailure::Runaway: ++counts.runaway; break;
    case RuleFailure::EmptyMatch: ++counts.emptyMatch; break;
  }
}

std::vector<std::pair<const RuleFile*, RuleCounts>> RuleTally::counts() const {
  std::lock_guard lock(mutex_);
  std::vector<std::pair<const RuleFile*, RuleCounts>> ordered;
  for (const RuleFile* rule : ruleFiles()) {
    if (const auto it = counts_.find(rule); it != counts_.end()) ordered.emplace_back(rule, it->second);
  }
  return ordered;
}

int RuleTally::failures() const {
  std::lock_guard lock(mutex_);
  int total = 0;
  for (const auto& [rule, counts] : counts_) total += counts.failed();
  return total;
}

}  // namespace gleaner
