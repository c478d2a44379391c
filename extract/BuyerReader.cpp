#include "extract/BuyerReader.h"

#include "text/GbkText.h"

namespace gleaner {

BuyerReader::BuyerReader(const ReaderContext& context, std::string itemTitle, std::string itemAddress)
    : PageReader(context, rules::kBuyerList), itemTitle_(std::move(itemTitle)), itemAddress_(std::move(itemAddress)) {}

void BuyerReader::readRecord(const std::string&, const std::string& record) {
  if (record.empty()) return;
  // The rule writes a buyer as nickname "," buyer ID; everything after the
  // first comma, the trailing tab included, is the ID.
  addRow({itemTitle_, gbk::after(record, ","), gbk::before(record, ","), itemAddress_});
}

}  // namespace gleaner
