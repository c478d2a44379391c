// What an export writes: the heading row and the data rows, cleaned for a
// spreadsheet. Built from the result list's headings and rows (UTF-8).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CollectionMode.h"

namespace gleaner {

enum class ExportChoice {
  Everything,  // every row, all four columns
  Sellers,     // the person columns without duplicates
};

enum class ExportFormat { Xlsx, Csv };

class ExportTable {
 public:
  using ListRow = std::array<std::string, 4>;

  // Everything: all four columns of every row. Sellers: columns 1 and 2
  // (and the credit level, column 3, of a seller search), each pair of
  // columns 1 and 2 once, in the order of first appearance.
  static ExportTable fromList(CollectionMode mode, const ListRow& headings, const std::vector<ListRow>& rows,
                              ExportChoice choice);

  const std::vector<std::string>& headings() const { return headings_; }
  const std::vector<std::vector<std::string>>& rows() const { return rows_; }

  // A cell as a workbook can hold it: control characters other than tab,
  // CR and LF dropped (and malformed UTF-8 replaced), then leading and
  // trailing tabs, CRs and LFs trimmed.
  static std::string cleanCell(std::string_view utf8);

  // True for a cell that a spreadsheet would take for a formula.
  static bool looksLikeFormula(std::string_view cell);

 private:
  std::vector<std::string> headings_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace gleaner
