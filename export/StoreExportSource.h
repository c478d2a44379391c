// Exports the list kept in a store file, read row by row (never the whole
// list at once).
#pragma once

#include <filesystem>
#include <memory>

#include "export/ExportSource.h"
#include "store/ResultStore.h"

namespace gleaner {

class StoreExportSource : public ExportSource {
 public:
  // Reads the store without changing it or leaving a file beside it, from a
  // read-only folder too. Throws StoreError when the file is not a readable
  // store, ExportError when its list is of none of the jobs (a list with
  // rows needs its job's columns).
  explicit StoreExportSource(const std::filesystem::path& path);

  std::optional<Job> job() const override { return summary_.job; }
  ResultRow headings() const override { return summary_.headings; }
  std::size_t columns() const override { return summary_.columns; }
  std::size_t rowCount() const override { return summary_.rows; }
  bool next(std::size_t n, std::vector<ResultRow>& out) override;

 private:
  std::unique_ptr<ResultStore> store_;
  StoreSummary summary_;
  std::size_t nextIndex_ = 0;
  std::size_t read_ = 0;
};

}  // namespace gleaner
