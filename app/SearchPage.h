// Tab page 129: the 1688 offer search settings (keyword, page count, sort
// order and three filters).
#pragma once

#include "app/PageBatch.h"
#include "app/TemplatePage.h"
#include "engine/RunRequest.h"

namespace gleaner {

class SearchPage : public TemplatePage {
 public:
  SearchPage();

  // The page's settings as they stand: keyword, page count, the checked sort
  // radio (the first one, none when none is), and the filters 买家保障,
  // 支付宝 and 旺旺在线 (a box counts when checked or indeterminate); the
  // keywords queued instead of the one, when there are.
  RunSettings settings() const;
  // Shows what request asks (a run that goes on shows what it walks).
  void show(const RunRequest& request);
  PageBatch& batch() { return batch_; }

 protected:
  void start() override;

 private:
  PageBatch batch_;
};

}  // namespace gleaner
