#include "app/SellerSearchPage.h"

#include <wx/combobox.h>

#include "res/ControlIds.h"
#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner {

namespace {
constexpr std::string_view kFiveDiamonds = "5\xD7\xEA";  // 5钻, left out of the list but typeable
}

SellerSearchPage::SellerSearchPage()
    : TemplatePage(res::sellerSearchPageTemplate()), batch_(*this, ids::kSellerKeyword, ids::kSellerBatch, false) {}

RunSettings SellerSearchPage::settings() const {
  RunSettings settings;
  settings.job = Job::Sellers;
  batch_.readSearch(settings);
  settings.pagesText = controlText(ids::kSellerPages);
  settings.levelText = controlText(ids::kSellerLevel);
  return settings;
}

std::vector<std::string> SellerSearchPage::levelChoices() {
  std::vector<std::string> choices;
  for (std::string_view level : literals::kCreditLevels) {
    if (level != kFiveDiamonds) choices.emplace_back(level);
  }
  choices.emplace_back(literals::kAllCreditLevels);
  return choices;
}

void SellerSearchPage::show(const RunRequest& request) {
  batch_.set(request.batch);
  if (!request.isBatch()) setControlText(ids::kSellerKeyword, request.keyword);
  setControlText(ids::kSellerPages, std::to_string(request.pages));
  setControlText(ids::kSellerLevel, request.levelFilter);
}

void SellerSearchPage::start() {
  batch_.bind();
  auto* levels = dynamic_cast<wxComboBox*>(FindWindow(ids::kSellerLevel));
  if (levels != nullptr) {
    for (const std::string& level : levelChoices()) levels->Append(wxString::FromUTF8(gbk::toUtf8(level)));
    levels->SetSelection(static_cast<int>(levels->GetCount()) - 1);
  }
  setControlText(ids::kSellerPages, std::string(literals::kDefaultPageCount));
  explainPageCount(ids::kSellerPages);
  setControlText(ids::kSellerKeyword, std::string(literals::kDefaultKeyword));
  // The hidden button 1043 has no action.
}

}  // namespace gleaner
