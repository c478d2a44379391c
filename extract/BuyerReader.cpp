#include "extract/BuyerReader.h"

#include "text/GbkText.h"

namespace gleaner {

BuyerReader::BuyerReader(const ReaderContext& context, std::string itemTitle, std::string itemAddress)
    : PageReader(context, rules::kBuyerList), itemTitle_(std::move(itemTitle)), itemAddress_(std::move(itemAddress)) {}

void BuyerReader::readRecord(const std::string&, std::string record) {
  if (record.empty()) return;
  // The rule writes a buyer as nickname "," buyer ID; everything after the
  // first comma, the trailing tab included, is the ID (the whole record
  // without a comma), and the nickname what comes before it, cut in the
  // record's own room.
  std::string buyerId = gbk::after(record, ",");
  const std::size_t comma = gbk::find(record, ",");
  record.resize(comma == gbk::npos ? 0 : comma);
  addRow({itemTitle_, std::move(buyerId), std::move(record), itemAddress_});
}

}  // namespace gleaner
