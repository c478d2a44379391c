// Which columns and rows an export writes, row by row: the list's GBK rows
// in, their export cells out.
//   Everything: all four columns of every row.
//   Sellers: columns 1 and 2 (and the credit level, column 3, of a seller
//   search), each pair of columns 1 and 2 once, in the order of first
//   appearance.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "export/ExportCell.h"
#include "export/ExportChoice.h"
#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

class ExportSelection {
 public:
  // job is the list's job (the tab index of its run), headings its GBK
  // column headings.
  // columns: the list's, four or five (with each row's keyword).
  ExportSelection(std::optional<Job> job, const ResultRow& headings, ExportChoice choice,
                  std::size_t columns = kJobColumns);

  // The heading row's cells, views of the selection's own headings.
  std::vector<ExportCell> headings() const;

  // The cells to write for a list row, views of gbkRow; false when the row
  // is left out (a seller already written).
  bool take(const ResultRow& gbkRow, std::vector<ExportCell>& cells);

 private:
  ExportChoice choice_;
  std::vector<std::size_t> columns_;
  ResultRow headings_;
  std::set<std::pair<std::string, std::string>> seen_;
};

}  // namespace gleaner
