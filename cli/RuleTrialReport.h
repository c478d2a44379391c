// How `gleaner-cli test-rule` shows a rule trial: UTF-8 text for a person
// who maintains rule files. Records go to one stream, problems (a rule that
// does not compile, runs away, matches the empty text or finds nothing) to
// another.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/RuleTrial.h"

namespace gleaner::cli {

struct TrialHeader {
  std::string ruleName;    // the catalog's name, or the file's
  std::string ruleOrigin;  // "文件 …" or "规则服务器 …" (UTF-8)
  std::string pageOrigin;  // the file name or the address (UTF-8)
  bool lineEndsAdded = false;  // the page's bare line feeds got a CR, as a run reads it
};

void printTrial(std::ostream& out, const TrialHeader& header, const RuleTrialInput& input,
                const RuleTrialResult& result, bool cleaned);

// The problems of the trial, one message each, with what to do.
void printCompileFailure(std::ostream& err, const TrialHeader& header, const RuleTrialInput& input,
                         const PatternError& failure);
void printRunaway(std::ostream& err, const TrialHeader& header, const RuleTrialResult& result);
void printEmptyMatch(std::ostream& err, const TrialHeader& header, const RuleTrialResult& result);
void printNothingFound(std::ostream& err, const TrialHeader& header, const RuleTrialInput& input);

// A GBK text in double quotes, as UTF-8, with \t \r \n \" \\ and other
// control characters (\xNN) escaped.
std::string quoted(std::string_view gbkText);

}  // namespace gleaner::cli
