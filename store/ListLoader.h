// Reads the list a store holds back into memory (a restore), row by row, so
// that a big list can show its progress and be given up half way.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>

#include "store/RowTable.h"
#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

struct LoadedList {
  std::optional<Job> job;
  std::size_t columns = kJobColumns;
  ResultRow headings;
  RowTable rows;
};

class ListLoader {
 public:
  // Told of the rows read so far out of total every few thousand rows;
  // returning false gives the load up.
  using Progress = std::function<bool(std::size_t done, std::size_t total)>;

  // nullopt when given up. Throws StoreError when the store cannot be read.
  static std::optional<LoadedList> load(const std::filesystem::path& path, const Progress& progress = {});

  static constexpr std::size_t kStep = 5000;
};

}  // namespace gleaner
