#include "app/SearchPage.h"

#include <utility>

#include "res/ControlIds.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

bool boxCounts(CheckState state) { return state != CheckState::Unchecked; }

}  // namespace

SearchPage::SearchPage() : TemplatePage(res::searchPageTemplate()) {}

RunSettings SearchPage::settings() const {
  static constexpr std::pair<int, OfferSort> kSorts[] = {
      {ids::kSortNormal, OfferSort::Normal}, {ids::kSortPopular, OfferSort::Popular},
      {ids::kSortBooked, OfferSort::Booked}, {ids::kSortCredit, OfferSort::Credit},
      {ids::kSortNewest, OfferSort::Newest}, {ids::kSortPrice, OfferSort::Price},
  };
  RunSettings settings;
  settings.job = Job::Offers;
  gbk::GbkConversion keyword = controlTextLeavingOut(ids::kSearchKeyword);
  settings.keyword = std::move(keyword.gbk);
  settings.keywordLeftOut = std::move(keyword.leftOut);
  settings.pagesText = controlText(ids::kSearchPages);
  settings.sort = OfferSort::None;
  for (const auto& [id, sort] : kSorts) {
    if (checkState(id) == CheckState::Checked) {
      settings.sort = sort;
      break;
    }
  }
  settings.buyerProtection = boxCounts(checkState(ids::kFilterBuyerProtection));
  settings.alipay = boxCounts(checkState(ids::kFilterAlipay));
  settings.online = boxCounts(checkState(ids::kFilterOnline));
  return settings;
}

void SearchPage::start() {
  setControlText(ids::kSearchPages, std::string(literals::kDefaultPageCount));
  explainPageCount(ids::kSearchPages);
  setControlText(ids::kSearchKeyword, std::string(literals::kDefaultKeyword));
  setChecked(ids::kSortNormal, true);
  for (int id : {ids::kFilterBuyerProtection, ids::kFilterAlipay, ids::kFilterMixedHidden, ids::kFilterNewHidden,
                 ids::kFilterOnline, ids::kFilterSizesHidden}) {
    setChecked(id, false);
  }
}

}  // namespace gleaner
