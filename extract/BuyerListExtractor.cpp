#include "extract/PageExtractor.h"

#include "text/GbkText.h"

namespace gleaner {

bool PageExtractor::BuyerListExtractor(const std::string& page) {
  return readListPage(rules::kBuyerList, page, [&](const std::string& record) {
    if (record.empty()) return true;
    const std::string countText = std::to_string(++window_.runFields().buyerRowCounter);
    // The rule writes a buyer as nickname "," buyer ID; everything after
    // the first comma, the trailing tab included, is the ID. Title and
    // address are the ones the run started with.
    const RunSettings& settings = run_.settings;
    const ResultRow row = {settings.itemTitle, gbk::after(record, ","), gbk::before(record, ","),
                           settings.itemAddress};
    appendRow(row, countText);
    return true;
  });
}

}  // namespace gleaner
