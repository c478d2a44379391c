// The outcome of an export.
#pragma once

#include <cstddef>
#include <string>

namespace gleaner {

struct ExportResult {
  enum class Outcome {
    Written,    // the file is complete at its place
    Nothing,    // the list is empty: no file was touched
    Cancelled,  // stopped by the user: no file was touched
    Failed,     // the file could not be written: an existing one is as it was
    TooManyRows,  // more rows than a worksheet holds: no file was touched
  };
  Outcome outcome = Outcome::Failed;
  std::size_t rows = 0;      // data rows written
  std::size_t cutCells = 0;  // workbook cells cut to the most a cell holds
  std::string error;         // Failed: the library's or system's own text
};

}  // namespace gleaner
