#include "cli/ConsoleWatcher.h"

#include <iostream>

#include "cli/StoreSink.h"
#include "engine/RunOutcome.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner::cli {

void printStatus(const std::string& gbkText) {
  const std::string text = gbk::toUtf8(gbk::printable(gbkText));
  std::string line;
  for (const char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      std::cerr << line << '\n';
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) std::cerr << line << '\n';
  std::cerr.flush();
}

ConsoleWatcher::ConsoleWatcher(RunRequest request, std::vector<RowSink*> sinks, StoreSink* store)
    : request_(std::move(request)), sinks_(std::move(sinks)), store_(store) {}

void ConsoleWatcher::runStarted(const RunStart& start) {
  if (store_ != nullptr) store_->runStarted(request_, start);
}

void ConsoleWatcher::progressChanged(const RunProgress& progress) {
  if (store_ != nullptr) store_->progressChanged(progress);
}

void ConsoleWatcher::rowFound(const ResultRow& row, int) {
  for (RowSink* sink : sinks_) sink->append(row);
}

void ConsoleWatcher::statusChanged(const std::string& line) { printStatus(line); }

void ConsoleWatcher::failureReported(const std::string& report) { printStatus(report); }

void ConsoleWatcher::runEnded(const RunOutcome& outcome) {
  if (store_ != nullptr) store_->runEnded(outcome);
  printStatus(outcome.statusLine);
  printStatus(outcome.message);
}

}  // namespace gleaner::cli
