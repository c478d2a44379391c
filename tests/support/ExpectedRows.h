// The rows the sample site's catalog says a page must give, as the result
// list holds them: the oracle of the end-to-end and GUI runs.
#pragma once

#include <string>
#include <vector>

#include "text/ResultRow.h"

namespace gleaner::testing {

std::string gbkText(const char* utf8);

std::vector<ResultRow> expectedOfferRows(const std::string& keyword, int page);
// The level filter as the level box holds it (GBK).
std::vector<ResultRow> expectedSellerRows(const std::string& keyword, int offset, const std::string& levelFilter);
std::vector<ResultRow> expectedBuyerRows(const std::string& itemId, int page, const std::string& itemTitle,
                                         const std::string& itemAddress);

std::vector<ResultRow> concat(std::initializer_list<std::vector<ResultRow>> parts);

}  // namespace gleaner::testing
