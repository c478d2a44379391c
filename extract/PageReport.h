// What a reader found on one result page, for the run's rule health: how
// many records its list rule gave, how many rows came of them, how many of
// its records' further pages could not be had, whether a failure or a stop
// ended it, and, for a page without records, whether the job's empty-result
// marker calls it empty.
#pragma once

#include "extract/RuleCatalog.h"

namespace gleaner {

enum class EmptyResult {
  NotChecked,    // the page had records, failed or was stopped
  Empty,         // the marker matched: the site says there is nothing
  NotEmpty,      // the marker did not match: the list rule missed the records
  NoMarker,      // the rule server has no marker for the job: cannot tell
  MarkerFailed,  // the marker could not be used: cannot tell
};

struct PageReport {
  const RuleFile* listRule = nullptr;
  int records = 0;        // non-empty records of the list rule
  int rows = 0;           // rows found
  int lookupsFailed = 0;  // further pages that could not be had (their rows kept, a cell left empty)
  bool failed = false;
  bool stopped = false;
  EmptyResult emptyResult = EmptyResult::NotChecked;

  bool withoutRecords() const { return !failed && !stopped && records == 0; }
};

}  // namespace gleaner
