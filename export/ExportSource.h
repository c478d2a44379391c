// Where an export reads a list from: the list in memory or a store file.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

class ExportSource {
 public:
  virtual ~ExportSource() = default;
  virtual std::optional<Job> job() const = 0;
  virtual ResultRow headings() const = 0;
  // The list's columns: the job's four, five with the keyword of a batch.
  virtual std::size_t columns() const = 0;
  // The rows the export will read, fixed when the source was made.
  virtual std::size_t rowCount() const = 0;
  // The next rows, up to n, into out; false when there are no more. Throws
  // ExportError when the list cannot be read any more.
  virtual bool next(std::size_t n, std::vector<ResultRow>& out) = 0;
};

}  // namespace gleaner
