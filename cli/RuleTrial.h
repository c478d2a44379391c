// One rule tried on one page exactly as a run applies it: the rule text's
// lines joined into a pattern, compiled with Perl syntax and case-insensitive,
// scanned with the run's restart rules and search budget. For a rule of a
// job, the rows (or, for a lookup, the cells) the job builds from its
// records, made by the run's own extractors with the rule server's other
// rules and the sites' secondary pages.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "text/ResultRow.h"
#include "extract/PatternError.h"
#include "extract/RuleCatalog.h"
#include "extract/Sites.h"

namespace gleaner::cli {

struct TrialMatch {
  std::size_t begin = 0;  // the whole match, bytes of the page text
  std::size_t end = 0;
  // Capture groups 1..n (index 0 is group 1) as matched; nothing for a group
  // that took no part.
  std::vector<std::optional<std::string>> groups;
  std::string record;  // the MatchRecord the extractor gets
  std::optional<ResultRow> row;              // a list rule: the row built from this record
  std::vector<std::pair<int, std::string>> cells;  // a lookup: column, the text it gives
};

struct RuleTrialResult {
  std::string pattern;
  std::size_t groupCount = 0;
  std::optional<PatternError> failure;  // did not compile, or a search ran away
  bool matchesEmptyText = false;        // the empty text, or somewhere on the page
  std::optional<std::size_t> emptyMatchAt;
  std::vector<TrialMatch> matches;
  // Failure lines the extractor reported while building the rows (GBK).
  std::vector<std::string> rowReports;
};

struct RuleTrialInput {
  const RuleFile* rule = nullptr;  // null: a rule of no job, records only
  std::string ruleText;            // as fetched: every line ended by CR LF
  std::string page;                // as fetched
  Sites sites;                     // where the rows' other rules and pages come from
};

RuleTrialResult tryRule(const RuleTrialInput& input);

}  // namespace gleaner::cli
