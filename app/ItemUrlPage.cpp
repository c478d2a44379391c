#include "app/ItemUrlPage.h"

#include "res/ControlIds.h"
#include "text/Literals.h"

namespace gleaner {

ItemUrlPage::ItemUrlPage(std::string itemHost)
    : TemplatePage(res::itemUrlPageTemplate()), itemHost_(std::move(itemHost)) {}

RunSettings ItemUrlPage::settings() const {
  RunSettings settings;
  settings.job = Job::Buyers;
  settings.itemAddress = controlText(ids::kItemAddress);
  return settings;
}

void ItemUrlPage::start() {
  setControlText(ids::kItemAddress, "http://" + itemHost_ + std::string(literals::kSampleItemPath));
}

}  // namespace gleaner
