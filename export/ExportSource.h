// Where an export reads a list from: the list in memory or a store file.
#pragma once

#include <cstddef>
#include <vector>

#include "store/StoredRow.h"

namespace gleaner {

class ExportSource {
 public:
  virtual ~ExportSource() = default;
  virtual int job() const = 0;
  virtual StoredRow headings() const = 0;
  // The rows the export will read, fixed when the source was made.
  virtual std::size_t rowCount() const = 0;
  // The next rows, up to n, into out; false when there are no more. Throws
  // ExportError when the list cannot be read any more.
  virtual bool next(std::size_t n, std::vector<StoredRow>& out) = 0;
};

}  // namespace gleaner
