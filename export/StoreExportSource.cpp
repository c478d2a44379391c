#include "export/StoreExportSource.h"

#include <string>

#include "engine/CollectionMode.h"
#include "export/ExportError.h"
#include "store/StoreError.h"

namespace gleaner {

StoreExportSource::StoreExportSource(const std::filesystem::path& path)
    : store_(std::make_unique<ResultStore>(path, ResultStore::Access::ReadOnly)), summary_(store_->summary()) {
  const bool emptyWithoutJob = summary_.job == kNoJob && summary_.rows == 0;
  if (collectionModeOfTab(summary_.job) == CollectionMode::None && !emptyWithoutJob) {
    throw ExportError("the store's job " + std::to_string(summary_.job) + " is none of the jobs");
  }
}

bool StoreExportSource::next(std::size_t n, std::vector<StoredRow>& out) {
  out.clear();
  if (read_ >= summary_.rows) return false;
  try {
    store_->readRows(nextIndex_, [&](std::size_t index, StoredRow&& row) {
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
