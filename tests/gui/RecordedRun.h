// The rows and the outcome of a run made straight on the engine, with no
// window in between: what the window must show after the same run.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

#include "engine/RunOutcome.h"
#include "engine/RunRequest.h"
#include "extract/Sites.h"
#include "text/ResultRow.h"

namespace gleaner::testing {

struct RecordedRun {
  std::vector<ResultRow> rows;
  std::optional<RunOutcome> outcome;  // none when the run did not end in time
};

// Runs request against sites to its end (or, once it has found enough
// rows, stops it there and keeps the first enough of them).
RecordedRun recordRun(const Sites& sites, const RunRequest& request,
                      std::size_t enough = std::numeric_limits<std::size_t>::max());

// A request of job with the settings the tests vary; the rest as a tab page
// gives it by default.
RunRequest offerRequest(const char* keyword, int pages);
RunRequest sellerRequest(const char* keyword, int pages, const char* levelUtf8);
RunRequest buyerRequest(const std::string& itemAddress);

}  // namespace gleaner::testing
