#include "app/ItemUrlPage.h"

#include "res/ControlIds.h"
#include "text/Literals.h"

namespace gleaner {

ItemUrlPage::ItemUrlPage(std::string itemHost)
    : TemplatePage(res::itemUrlPageTemplate()),
      itemHost_(std::move(itemHost)),
      batch_(*this, ids::kItemAddress, ids::kItemBatch, true) {}

RunSettings ItemUrlPage::settings() const {
  RunSettings settings;
  settings.job = Job::Buyers;
  settings.batch = batch_.entries();
  if (settings.batch.empty()) settings.itemAddress = controlText(ids::kItemAddress);
  return settings;
}

void ItemUrlPage::show(const RunRequest& request) {
  batch_.set(request.batch);
  if (!request.isBatch()) setControlText(ids::kItemAddress, request.itemAddress);
}

void ItemUrlPage::start() {
  batch_.bind();
  setControlText(ids::kItemAddress, "http://" + itemHost_ + std::string(literals::kSampleItemPath));
}

}  // namespace gleaner
