// --json-summary FILE: what a run found and how its rules fared, as JSON for
// scripts and monitoring. UTF-8; the GBK texts converted and escaped.
#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "engine/RunOutcome.h"

namespace gleaner::cli {

struct JsonSummaryRun {
  Job job = Job::Offers;
  const RunOutcome* outcome = nullptr;  // null: the run was refused
  int exitStatus = 0;
};

// {"job", "outcome", "stopped", "exitStatus", "pages", "rows", "records",
//  "pagesWithoutRecords", "emptyResultPages", "ruleFailures", "lookupsFailed",
//  "extractionsFailed", "failedPage": {"number", "address", "reason",
//  "detail"} or null, "rules": {NAME: {"path", "applied", "matched",
//  "failed", "failures": {"download", "compile", "runaway", "emptyMatch"}}},
//  "warnings",
//  "batch": [{"keyword" (buyers: "itemUrl"), "outcome", "pages", "rows",
//  "failedPage", "statusLine"}] (a batch only: each entry; the fields above
//  are then the totals), "summary", "statusLine"}
// outcome: "refused" or the outcome's name (outcomeName).
std::string jsonSummary(const JsonSummaryRun& run);

// A JSON string literal of a UTF-8 text.
std::string jsonString(std::string_view utf8);

// The file, created before the run (a file that cannot be created refuses
// the run, as --out does) and written at its end.
class JsonSummaryFile {
 public:
  explicit JsonSummaryFile(std::string path);
  // False when the file could not be created; the reason has been printed.
  bool ok() const { return ok_; }
  // False when the text could not be written; the reason has been printed.
  bool write(const std::string& json);

 private:
  std::string path_;
  std::ofstream file_;
  bool ok_ = false;
};

}  // namespace gleaner::cli
