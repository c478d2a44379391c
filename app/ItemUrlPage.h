// Tab page 130: the address of one Taobao item page, whose buyers are
// collected.
#pragma once

#include <string>

#include "app/PageBatch.h"
#include "app/TemplatePage.h"
#include "engine/RunRequest.h"

namespace gleaner {

class ItemUrlPage : public TemplatePage {
 public:
  // itemHost: the host of the sample item address the page starts with.
  explicit ItemUrlPage(std::string itemHost);

  // The item address as it stands, or the addresses queued instead.
  RunSettings settings() const;
  void show(const RunRequest& request);
  PageBatch& batch() { return batch_; }

 protected:
  void start() override;

 private:
  std::string itemHost_;
  PageBatch batch_;
};

}  // namespace gleaner
