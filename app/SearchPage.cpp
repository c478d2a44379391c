#include "app/SearchPage.h"

#include "res/ControlIds.h"
#include "text/Literals.h"

namespace gleaner {

SearchPage::SearchPage() : TemplatePage(res::searchPageTemplate()) {}

void SearchPage::start() {
  setControlText(ids::kSearchPages, std::string(literals::kDefaultPageCount));
  setControlText(ids::kSearchKeyword, std::string(literals::kDefaultKeyword));
  setChecked(ids::kSortNormal, true);
  for (int id : {ids::kFilterBuyerProtection, ids::kFilterAlipay, ids::kFilterMixedHidden, ids::kFilterNewHidden,
                 ids::kFilterOnline, ids::kFilterSizesHidden}) {
    setChecked(id, false);
  }
}

}  // namespace gleaner
