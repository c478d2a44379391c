// What a run tells whoever watches it: the window (which carries each call
// out on its user-interface thread), gleaner-cli's sinks, the tests. Calls
// come from the run's threads, in the order things happen; all texts GBK.
#pragma once

#include <cstddef>
#include <string>

#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

struct RunOutcome;
struct RunProgress;

// How a run's list starts.
struct RunStart {
  Job job = Job::Offers;
  // Four, or five for a batch of searches: each row carries its keyword.
  std::size_t columns = kJobColumns;
  // A run that goes on from where one stopped keeps the rows the list had
  // when its page was asked for; a new run keeps none.
  std::size_t keptRows = 0;
};

class RunWatcher {
 public:
  virtual ~RunWatcher() = default;
  // The run starts: the list takes the run's columns and keeps the rows
  // start says (none: it empties).
  virtual void runStarted(const RunStart& start) = 0;
  // Where the run stands, for a store to keep: a page is asked for (a buyers
  // entry's item page too), or one has been read whole and the next is known
  // (a run stopped while paused then goes on with the next).
  virtual void progressChanged(const RunProgress& progress) = 0;
  // A row found; count is the rows the run has found so far, this one included.
  virtual void rowFound(const ResultRow& row, int count) = 0;
  // A line for the status display ("正在采集第%d页", a rule warning).
  virtual void statusChanged(const std::string& line) = 0;
  // The report of a download or extraction that failed: address,
  // "\r\nDownload failed!\r\n" and the reason, for the log.
  virtual void failureReported(const std::string& report) = 0;
  // The run has ended. Returns once the user has read its end message; a
  // new run may start after that.
  virtual void runEnded(const RunOutcome& outcome) = 0;
};

}  // namespace gleaner
