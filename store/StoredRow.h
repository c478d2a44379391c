// One row of the result list as the store keeps it: four GBK texts, column 0
// first, exactly as the list holds them. The same type as the engine's
// ResultRow, so rows pass between the layers without a copy.
#pragma once

#include <array>
#include <string>

namespace gleaner {

using StoredRow = std::array<std::string, 4>;

// A list's job, as the index of its tab page; -1 for a list without a job.
inline constexpr int kNoJob = -1;

}  // namespace gleaner
