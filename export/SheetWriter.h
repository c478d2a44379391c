// Writes one export file row by row. Failures throw ExportError.
#pragma once

#include <cstddef>
#include <vector>

#include "export/ExportCell.h"

namespace gleaner {

class SheetWriter {
 public:
  virtual ~SheetWriter() = default;
  virtual void writeRow(const std::vector<ExportCell>& cells) = 0;
  // Completes the file. Nothing may be written after it.
  virtual void finish() = 0;
  // Cells cut because the format cannot hold them whole.
  virtual std::size_t cutCells() const { return 0; }
};

}  // namespace gleaner
