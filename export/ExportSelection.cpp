#include "export/ExportSelection.h"


namespace gleaner {

ExportSelection::ExportSelection(std::optional<Job> job, const ResultRow& headings, ExportChoice choice,
                                 std::size_t columns)
    : choice_(choice), headings_(headings) {
  columns_ = {0, 1, 2, 3};
  if (columns == kBatchColumns) columns_.push_back(kKeywordColumn);
  // The seller information is the person columns, each pair once across the
  // whole list, a batch's keywords included.
  if (choice == ExportChoice::Sellers) {
    columns_ = {1, 2};
    if (job == Job::Sellers) columns_.push_back(3);
  }
}

std::vector<ExportCell> ExportSelection::headings() const {
  std::vector<ExportCell> cells;
  for (std::size_t c : columns_) cells.emplace_back(headings_[c]);
  return cells;
}

bool ExportSelection::take(const ResultRow& gbkRow, std::vector<ExportCell>& cells) {
  cells.clear();
  for (std::size_t c : columns_) cells.emplace_back(gbkRow[c]);
  return choice_ != ExportChoice::Sellers || seen_.emplace(cells[0].text(), cells[1].text()).second;
}

}  // namespace gleaner
