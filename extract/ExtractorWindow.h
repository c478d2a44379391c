// The part of the main window that the extractors see: the result list's
// append, the count display, the run fields and the status report. The engine's full view of the window (MainWindowView)
// extends it. All texts are GBK.
#pragma once

#include <array>
#include <string>

#include "extract/RunFields.h"

namespace gleaner {

// One row of the result list: column 0 is the item text, 1 to 3 its sub-items.
using ResultRow = std::array<std::string, 4>;

class ExtractorWindow {
 public:
  virtual ~ExtractorWindow() = default;

  // Steps 2 to 5 of an append as one unit: read the row count n, insert row n
  // with cell 0, set cells 1, 2, 3 of row n, set the count display to
  // countText. No other append can take row n in between.
  virtual void appendRow(const ResultRow& row, const std::string& countText) = 0;

  // A failure report: the line is not shown; counted reports raise ReportCount.
  virtual void reportStatus(const std::string& line, bool counted) = 0;

  virtual RunFields& runFields() = 0;
};

}  // namespace gleaner
