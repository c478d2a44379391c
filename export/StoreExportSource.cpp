#include "export/StoreExportSource.h"

#include <string>

#include "export/ExportError.h"
#include "store/StoreError.h"

namespace gleaner {

StoreExportSource::StoreExportSource(const std::filesystem::path& path)
    : store_(std::make_unique<ResultStore>(path, ResultStore::Access::ReadOnly)), summary_(store_->summary()) {
  // Rows of no job this program knows cannot be given their columns.
  if (summary_.unknownJob || (!summary_.job && summary_.rows > 0)) {
    throw ExportError("the store's job is none of the jobs");
  }
}

bool StoreExportSource::next(std::size_t n, std::vector<ResultRow>& out) {
  out.clear();
  if (read_ >= summary_.rows) return false;
  try {
    store_->readRows(nextIndex_, [&](std::size_t index, ResultRow&& row) {
      out.push_back(std::move(row));
      nextIndex_ = index + 1;
      return out.size() < n && read_ + out.size() < summary_.rows;
    });
  } catch (const StoreError& e) {
    throw ExportError(e.what());
  }
  read_ += out.size();
  return !out.empty();
}

}  // namespace gleaner
