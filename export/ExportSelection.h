// Which columns and rows an export writes, row by row: the list's GBK rows
// in, cleaned UTF-8 cells out.
//   Everything: all four columns of every row.
//   Sellers: columns 1 and 2 (and the credit level, column 3, of a seller
//   search), each pair of columns 1 and 2 once, in the order of first
//   appearance.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "export/ExportChoice.h"
#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

class ExportSelection {
 public:
  // job is the list's job (the tab index of its run), headings its GBK
  // column headings.
  ExportSelection(std::optional<Job> job, const ResultRow& headings, ExportChoice choice);

  const std::vector<std::string>& headings() const { return headings_; }

  // The cells to write for a list row; false when the row is left out (a
  // seller already written).
  bool take(const ResultRow& gbkRow, std::vector<std::string>& cells);

 private:
  ExportChoice choice_;
  std::vector<std::size_t> columns_;
  std::vector<std::string> headings_;
  std::set<std::pair<std::string, std::string>> seen_;
};

}  // namespace gleaner
