// A run's watcher that keeps everything it is told, for tests.
#pragma once

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunOutcome.h"
#include "engine/RunProgress.h"
#include "engine/RunWatcher.h"

namespace gleaner::testing {

class RecordingWatcher : public RunWatcher {
 public:
  void runStarted(const RunStart& start) override {
    std::lock_guard lock(mutex_);
    jobs_.push_back(start.job);
    starts_.push_back(start);
    rows_.resize(std::min(rows_.size(), start.keptRows));
  }
  void progressChanged(const RunProgress& progress) override {
    std::lock_guard lock(mutex_);
    progress_.push_back(progress);
  }
  void rowFound(const ResultRow& row, int count) override {
    std::lock_guard lock(mutex_);
    rows_.push_back(row);
    counts_.push_back(count);
  }
  void statusChanged(const std::string& line) override {
    std::lock_guard lock(mutex_);
    status_.push_back(line);
  }
  void failureReported(const std::string& report) override {
    std::lock_guard lock(mutex_);
    reports_.push_back(report);
  }
  void runEnded(const RunOutcome& outcome) override {
    std::lock_guard lock(mutex_);
    outcomes_.push_back(outcome);
  }

  std::vector<Job> jobs() const { return copy(jobs_); }
  std::vector<RunStart> starts() const { return copy(starts_); }
  std::vector<RunProgress> progress() const { return copy(progress_); }
  std::vector<ResultRow> rows() const { return copy(rows_); }
  std::vector<int> counts() const { return copy(counts_); }
  std::vector<std::string> status() const { return copy(status_); }
  std::vector<std::string> reports() const { return copy(reports_); }
  std::vector<RunOutcome> outcomes() const { return copy(outcomes_); }
  std::optional<RunOutcome> lastOutcome() const {
    std::lock_guard lock(mutex_);
    if (outcomes_.empty()) return std::nullopt;
    return outcomes_.back();
  }

 private:
  template <typename T>
  std::vector<T> copy(const std::vector<T>& items) const {
    std::lock_guard lock(mutex_);
    return items;
  }

  mutable std::mutex mutex_;
  std::vector<Job> jobs_;
  std::vector<RunStart> starts_;
  std::vector<RunProgress> progress_;
  std::vector<ResultRow> rows_;
  std::vector<int> counts_;
  std::vector<std::string> status_;
  std::vector<std::string> reports_;
  std::vector<RunOutcome> outcomes_;
};

}  // namespace gleaner::testing
