// The headless runner's watcher of a run: status lines, failure reports, the
// outcome and its message go to standard error as UTF-8 lines; rows go to
// the sinks (the row writer, the store) as they are found.
#pragma once

#include <string>
#include <vector>

#include "cli/RowSink.h"
#include "engine/RunRequest.h"
#include "engine/RunWatcher.h"

namespace gleaner::cli {

class StoreSink;

// A GBK text of the engine (CR LF line ends) as UTF-8 lines on standard
// error. Control characters are replaced: text of pages and rule files must
// not drive the terminal.
void printStatus(const std::string& gbkText);

class ConsoleWatcher : public RunWatcher {
 public:
  // store: also told of the run's start and end; null for none.
  ConsoleWatcher(RunRequest request, std::vector<RowSink*> sinks, StoreSink* store);

  void runStarted(const RunStart& start) override;
  void progressChanged(const RunProgress& progress) override;
  void rowFound(const ResultRow& row, int count) override;
  void statusChanged(const std::string& line) override;
  void failureReported(const std::string& report) override;
  void runEnded(const RunOutcome& outcome) override;

 private:
  const RunRequest request_;
  const std::vector<RowSink*> sinks_;
  StoreSink* store_;
};

}  // namespace gleaner::cli
