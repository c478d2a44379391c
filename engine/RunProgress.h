// Where a run stands: the entry of its batch and the page it is reading,
// told to its watcher as each page is asked for, so that a store can keep
// it and a stopped, crashed or killed run can go on from there.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/RunRequest.h"

namespace gleaner {

struct RunProgress {
  std::size_t entry = 0;  // the batch entry (0 for a single run)
  // The page being read: 1 for the entry's first result (or review) page;
  // 0 for a buyers entry's item page.
  int page = 1;
  std::string address;  // GBK; empty: the entry's first page, whatever it is
  // The rows the list had when the page was asked for: a run that goes on
  // from here keeps these and reads the page again.
  std::size_t rowsBefore = 0;
  std::string itemTitle;  // buyers: the title every row of the item carries

  bool operator==(const RunProgress&) const = default;

  using Fields = std::vector<std::pair<std::string, std::string>>;
  Fields fields() const;
  static std::optional<RunProgress> fromFields(const Fields& fields);
};

// What a store says of its last run.
struct StoredRun {
  enum class State {
    None,       // no run recorded
    Ended,      // it ended on its own: there is nothing to go on with
    Unfinished  // stopped, crashed or killed: it can go on from progress
  };
  State state = State::None;
  RunRequest request;
  RunProgress progress;
};

// The facts a store keeps: the run's request, its progress, its outcome.
StoredRun storedRun(const RunProgress::Fields& run, const RunProgress::Fields& progress,
                    const RunProgress::Fields& outcome);

}  // namespace gleaner
