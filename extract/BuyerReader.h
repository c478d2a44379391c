// The buyers of one Taobao item: one row per buyer of a review page, with
// the item's title and address the run started with.
#pragma once

#include <string>

#include "extract/PageReader.h"

namespace gleaner {

class BuyerReader : public PageReader {
 public:
  // itemTitle: the item page's title as the probe read it; itemAddress: the
  // address the user gave.
  BuyerReader(const ReaderContext& context, std::string itemTitle, std::string itemAddress);

 protected:
  void readRecord(const std::string& page, std::string record) override;

 private:
  const std::string itemTitle_;
  const std::string itemAddress_;
};

}  // namespace gleaner
