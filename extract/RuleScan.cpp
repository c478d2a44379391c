#include "extract/RuleScan.h"

#include "extract/ExtractionFailure.h"
#include "extract/MatchRecord.h"
#include "extract/PatternError.h"
#include "extract/RuleObserver.h"
#include "extract/RuleSource.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

RuleFailure failureOf(PatternError::Kind kind) {
  switch (kind) {
    case PatternError::Kind::Runaway: return RuleFailure::Runaway;
    case PatternError::Kind::EmptyMatch: return RuleFailure::EmptyMatch;
    case PatternError::Kind::Empty:
    case PatternError::Kind::Compile: break;
  }
  return RuleFailure::Compile;
}

}  // namespace

RuleScan::RuleScan(RuleSource& rules, const RuleFile& rule, const std::string& text, const StopSignal* stop)
    : rules_(rules), rule_(rule) {
  limits_.stop = stop;
  limits_.refuseEmptyMatches = true;
  const std::optional<std::string> pattern = rules.pattern(rule);
  if (!pattern) return;
  try {
    cursor_ = std::make_unique<PatternCursor>(*pattern, text, limits_);
  } catch (const PatternError& e) {
    fail(e);
  }
}

RuleScan::~RuleScan() = default;

std::optional<std::string> RuleScan::next() {
  if (!cursor_) return std::nullopt;
  std::optional<MatchDetail> match;
  try {
    match = cursor_->next();
  } catch (const PatternError& e) {
    fail(e);
  }
  if (!match) return std::nullopt;
  std::string record = MatchRecord(match->groups);
  if (RuleObserver* observer = rules_.observer()) observer->matchFound(rule_, *match, record);
  return record;
}

void RuleScan::fail(const PatternError& error) {
  if (RuleObserver* observer = rules_.observer()) {
    observer->ruleFailed(rule_, failureOf(error.kind()));
  }
  // Boost's message quotes the pattern, which is the rule server's text.
  throw ExtractionFailure(gbk::printable(rules_.address(rule_)) + "\r\nPattern failed: " +
                          gbk::printable(error.what()) + "\r\n");
}

}  // namespace gleaner
