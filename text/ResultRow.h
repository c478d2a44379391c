// One row of the result list: four GBK texts, column 0 first, exactly as the
// run found them. The list, the store, the export and the headless runner
// all pass rows in this form.
#pragma once

#include <array>
#include <string>

namespace gleaner {

using ResultRow = std::array<std::string, 4>;

}  // namespace gleaner
