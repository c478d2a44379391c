// Exports the list in memory: the rows it holds when the export starts. Rows
// a run appends meanwhile are left for the next export; a list emptied
// meanwhile fails the export instead of writing a mix.
#pragma once

#include <cstdint>

#include "export/ExportSource.h"

namespace gleaner {

class ResultModel;

class ModelExportSource : public ExportSource {
 public:
  explicit ModelExportSource(const ResultModel& model);

  std::optional<Job> job() const override { return job_; }
  ResultRow headings() const override { return headings_; }
  std::size_t columns() const override { return columns_; }
  std::size_t rowCount() const override { return rows_; }
  bool next(std::size_t n, std::vector<ResultRow>& out) override;

 private:
  const ResultModel& model_;
  std::uint64_t epoch_;
  std::size_t rows_;
  std::optional<Job> job_;
  ResultRow headings_;
  std::size_t columns_;
  std::size_t read_ = 0;
};

}  // namespace gleaner
