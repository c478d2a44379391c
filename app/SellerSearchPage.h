// Tab page 131: the Taobao seller search settings (keyword, credit level
// filter, page count).
#pragma once

#include <string>
#include <vector>

#include "app/PageBatch.h"
#include "app/TemplatePage.h"
#include "engine/RunRequest.h"

namespace gleaner {

class SellerSearchPage : public TemplatePage {
 public:
  SellerSearchPage();

  // Keyword (or the keywords queued instead), page count and level box as
  // they stand.
  RunSettings settings() const;
  void show(const RunRequest& request);
  PageBatch& batch() { return batch_; }

  // The level box's list, in order (GBK): the credit levels without "5钻",
  // then "所有信用等级".
  static std::vector<std::string> levelChoices();

 protected:
  void start() override;

 private:
  PageBatch batch_;
};

}  // namespace gleaner
