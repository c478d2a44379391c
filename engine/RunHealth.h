// The rule health of one run: per rule file, what it was applied to, what it
// matched and how it failed; per result page, whether the job's list rule
// found records on it. From these it decides the warnings the status line
// shows while the run walks (two pages in a row without records) and the
// summary it keeps when the run ends.
//
// Thread-safe: the run's workers report pages and rule uses, the run thread
// asks for the end, the runner reads the report once every thread is done.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "extract/PageReport.h"
#include "extract/RuleTally.h"
#include "text/HealthTexts.h"

namespace gleaner {

struct HealthReport {
  literals::RunCounts counts;
  int records = 0;  // non-empty records of the list rule, over all pages
  std::vector<std::pair<const RuleFile*, RuleCounts>> rules;
  std::vector<std::string> warnings;  // GBK, in the order they were raised
  std::string summary;                // GBK, the summary line of counts
};

class RunHealth {
 public:
  RuleObserver& ruleObserver() { return tally_; }

  // A downloaded result page has been read; pageNumber is the number its
  // status line showed. The warning the page calls for, if any: the second
  // page in a row without records, and every one after it.
  std::optional<std::string> pageRead(int pageNumber, const PageReport& report);

  // The status line a run ends with: its summary, after the warning the run
  // ends on, if any (pages downloaded and no rows, or a streak of pages
  // without records that lasted to the end).
  std::string endOfRun();

  HealthReport report() const;

 private:
  static std::string pageWarning(int pageNumber, const PageReport& report);
  std::string noRowsWarning() const;
  literals::RunCounts countsNow() const;

  RuleTally tally_;
  mutable std::mutex mutex_;
  literals::RunCounts counts_;
  int records_ = 0;
  int streak_ = 0;  // pages in a row without records
  std::optional<std::pair<int, PageReport>> lastWithoutRecords_;
  std::vector<std::string> warnings_;
};

}  // namespace gleaner
