// Per rule file, how often a run applied it, how many matches it found and
// how it failed. Thread-safe.
#pragma once

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "extract/RuleObserver.h"

namespace gleaner {

struct RuleCounts {
  int applied = 0;  // texts the rule was applied to (a failed fetch included)
  int matched = 0;  // matches it found
  int downloadFailed = 0;
  int compileFailed = 0;
  int runaway = 0;
  int emptyMatch = 0;
  int failed() const { return downloadFailed + compileFailed + runaway + emptyMatch; }
};

class RuleTally : public RuleObserver {
 public:
  void ruleApplied(const RuleFile& rule) override;
  void matchFound(const RuleFile& rule, const MatchDetail& match, const std::string& record) override;
  void ruleFailed(const RuleFile& rule, RuleFailure failure) override;

  // The rules used so far, in the catalog's order.
  std::vector<std::pair<const RuleFile*, RuleCounts>> counts() const;
  int failures() const;

 private:
  mutable std::mutex mutex_;
  std::map<const RuleFile*, RuleCounts> counts_;
};

}  // namespace gleaner
