// gleaner-cli test-rule --rule FILE|NAME [--page FILE | --url URL] [--cleaned]
// Tries one rule file on one page exactly as a run applies it and prints
// every record, for whoever maintains the rule files.
#pragma once

#include <string>
#include <vector>

namespace gleaner::cli {

// Exit statuses of test-rule.
inline constexpr int kTrialFound = 0;          // records found (a marker: the page is an empty result)
inline constexpr int kTrialCannotRead = 1;     // rule, page or a page the rows need could not be read
inline constexpr int kTrialUsage = 2;          // bad usage, an unknown rule name
inline constexpr int kTrialNothingFound = 3;   // the rule works and finds no record (a marker: no match)
inline constexpr int kTrialDoesNotCompile = 4; // empty, too big, or not a pattern
inline constexpr int kTrialMatchesEmpty = 5;   // the pattern matches the empty text
inline constexpr int kTrialRunaway = 6;        // a search ran past its budget or the complexity limit

int runTestRuleCommand(const std::vector<std::string>& args);

extern const char* const kTestRuleUsage;

}  // namespace gleaner::cli
