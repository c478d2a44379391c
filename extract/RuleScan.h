// One rule applied to one text: the records of its matches, one at a time,
// in text order, each told to the run's rule observer. A failure of the
// rule (its file cannot be had, its pattern does not compile or runs away)
// counts against it and ends the scan as an ExtractionFailure, whose text
// is the report line.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "extract/PatternScan.h"
#include "extract/RuleCatalog.h"

namespace gleaner {

class RuleSource;
class StopSignal;

class RuleScan {
 public:
  // Fetches and compiles the rule. stop: the run's stop, which ends the scan
  // (ScanStopped) at once; a page's own scan takes it, the lookups for the
  // record in hand do not. text must outlive the scan.
  RuleScan(RuleSource& rules, const RuleFile& rule, const std::string& text, const StopSignal* stop = nullptr);
  ~RuleScan();
  RuleScan(const RuleScan&) = delete;
  RuleScan& operator=(const RuleScan&) = delete;

  // False for an empty-result marker the rule server does not have: the scan
  // then finds nothing.
  bool available() const { return cursor_ != nullptr; }

  // The next record (MatchRecord), or nothing when no match is left.
  std::optional<std::string> next();

 private:
  [[noreturn]] void fail(const class PatternError& error);

  RuleSource& rules_;
  const RuleFile& rule_;
  ScanLimits limits_;
  std::unique_ptr<PatternCursor> cursor_;
};

}  // namespace gleaner
