#include "extract/PageExtractor.h"

#include "text/GbkText.h"

namespace gleaner {

void PageExtractor::BuyerListExtractor(std::string page) {
  guarded([&] {
    scanWithRule("/files/taobao/ExtractAllText.txt", page, [&](const std::string& record) {
      if (record.empty()) return true;
      const std::string countText = std::to_string(++window_.runFields().buyerRowCounter);
      // The rule writes a buyer as nickname "," buyer ID; everything after
      // the first comma, the trailing tab included, is the ID.
      const ResultRow row = {window_.runFields().itemTitle(), gbk::after(record, ","), gbk::before(record, ","),
                             window_.itemAddressText()};
      window_.appendRow(row, countText);
      return true;
    });
  });
}

}  // namespace gleaner
