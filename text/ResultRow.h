// One row of the result list: the four GBK texts of the job's columns,
// column 0 first, exactly as the run found them, and a fifth, the keyword
// that found the row, which a list shows only for a batch of searches. The
// list, the store, the export and the headless runner all pass rows in this
// form.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace gleaner {

using ResultRow = std::array<std::string, 5>;

// The fifth cell: the keyword of a batch of searches.
inline constexpr std::size_t kKeywordColumn = 4;

// Columns a list shows: the job's four, or five with the keyword.
inline constexpr std::size_t kJobColumns = 4;
inline constexpr std::size_t kBatchColumns = 5;

}  // namespace gleaner
