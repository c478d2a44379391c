// Told of every use of a rule file by the extractors of a run: the run's rule
// health counts them, the rule tester watches each match. Called on the
// run's worker threads; implementations guard themselves.
#pragma once

#include <string>

#include "extract/PatternScan.h"
#include "extract/RuleCatalog.h"

namespace gleaner {

enum class RuleFailure {
  Download,  // the rule file could not be fetched (server down, missing, too big)
  Compile,   // empty, or not a pattern
  Runaway,   // a search ran past its budget or the engine's complexity limit
  EmptyMatch,  // it matches the empty text: it would give an empty record everywhere
};

class RuleObserver {
 public:
  virtual ~RuleObserver() = default;
  // The rule is about to be applied to a text (its file is fetched next).
  virtual void ruleApplied(const RuleFile& rule) = 0;
  // One match, before the extractor uses its record.
  virtual void matchFound(const RuleFile& rule, const MatchDetail& match, const std::string& record) = 0;
  virtual void ruleFailed(const RuleFile& rule, RuleFailure failure) = 0;
};

}  // namespace gleaner
