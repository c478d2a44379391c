#include "app/SearchPage.h"

#include <string>
#include <utility>

#include "res/ControlIds.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

bool boxCounts(CheckState state) { return state != CheckState::Unchecked; }

constexpr std::pair<int, OfferSort> kSorts[] = {
    {ids::kSortNormal, OfferSort::Normal}, {ids::kSortPopular, OfferSort::Popular},
    {ids::kSortBooked, OfferSort::Booked}, {ids::kSortCredit, OfferSort::Credit},
    {ids::kSortNewest, OfferSort::Newest}, {ids::kSortPrice, OfferSort::Price},
};

}  // namespace

SearchPage::SearchPage()
    : TemplatePage(res::searchPageTemplate()), batch_(*this, ids::kSearchKeyword, ids::kSearchBatch, false) {}

RunSettings SearchPage::settings() const {
  RunSettings settings;
  settings.job = Job::Offers;
  batch_.readSearch(settings);
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

void SearchPage::show(const RunRequest& request) {
  batch_.set(request.batch);
  if (!request.isBatch()) setControlText(ids::kSearchKeyword, request.keyword);
  setControlText(ids::kSearchPages, std::to_string(request.pages));
  for (const auto& [id, sort] : kSorts) setChecked(id, sort == request.sort);
  setChecked(ids::kFilterBuyerProtection, request.buyerProtection);
  setChecked(ids::kFilterAlipay, request.alipay);
  setChecked(ids::kFilterOnline, request.online);
}

void SearchPage::start() {
  batch_.bind();
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
