// Where the rows of a run go as they are found, one call per row, in list
// order. The runner feeds every sink from one place (the run's watcher), so
// a second sink (a store, say) sits beside the row writer without either
// knowing of the other.
#pragma once

#include "text/ResultRow.h"

namespace gleaner::cli {

class RowSink {
 public:
  virtual ~RowSink() = default;
  // Must not throw: it runs on a worker's append. A sink that fails keeps
  // the failure for the runner to report at the end.
  virtual void append(const ResultRow& row) noexcept = 0;
  virtual bool failed() const = 0;
};

}  // namespace gleaner::cli
