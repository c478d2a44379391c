#include "export/ModelExportSource.h"

#include <algorithm>

#include "export/ExportError.h"
#include "store/ResultModel.h"

namespace gleaner {

ModelExportSource::ModelExportSource(const ResultModel& model) : model_(model) {
  const ResultModel::State state = model.state();
  epoch_ = state.epoch;
  rows_ = state.rows;
  job_ = state.job;
  columns_ = state.columns;
  headings_ = model.headings();
}

bool ModelExportSource::next(std::size_t n, std::vector<ResultRow>& out) {
  out.clear();
  if (read_ >= rows_) return false;
  if (!model_.copyRows(epoch_, read_, std::min(n, rows_ - read_), out)) {
    throw ExportError("the list was emptied during the export");
  }
  read_ += out.size();
  return !out.empty();
}

}  // namespace gleaner
