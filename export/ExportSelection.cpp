#include "export/ExportSelection.h"

#include "export/ExportCell.h"
#include "text/GbkConvert.h"

namespace gleaner {

ExportSelection::ExportSelection(std::optional<Job> job, const ResultRow& headings, ExportChoice choice) : choice_(choice) {
  columns_ = {0, 1, 2, 3};
  if (choice == ExportChoice::Sellers) {
    columns_ = {1, 2};
    if (job == Job::Sellers) columns_.push_back(3);
  }
  for (std::size_t c : columns_) headings_.push_back(ExportCell::clean(gbk::toUtf8(headings[c])));
}

bool ExportSelection::take(const ResultRow& gbkRow, std::vector<std::string>& cells) {
  cells.clear();
  for (std::size_t c : columns_) cells.push_back(ExportCell::clean(gbk::toUtf8(gbkRow[c])));
  return choice_ != ExportChoice::Sellers || seen_.emplace(cells[0], cells[1]).second;
}

}  // namespace gleaner
