#include "support/ExpectedRows.h"

#include "extract/HtmlTextCleaner.h"
#include "extract/PageExtractor.h"
#include "sample-site/SampleCatalog.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner::testing {

std::string gbkText(const char* utf8) { return gbk::fromUtf8(utf8); }

namespace {

// A field that stood in the highest group of its rule: cleaned, then its tab.
std::string cleanedField(const std::string& text) { return HtmlTextCleaner(text) + "\t"; }

}  // namespace

std::vector<ResultRow> expectedOfferRows(const std::string& keyword, int page) {
  std::vector<ResultRow> rows;
  for (const sample::Offer& offer : sample::SampleCatalog::offerSearch(keyword, page)) {
    rows.push_back({offer.withdrawn ? std::string() : cleanedField(offer.title), cleanedField(offer.merchant),
                    offer.memberId, "http://detail.1688.com/offer/" + offer.offerId + ".html"});
  }
  return rows;
}

std::vector<ResultRow> expectedSellerRows(const std::string& keyword, int offset, const std::string& levelFilter) {
  std::vector<ResultRow> rows;
  for (const sample::Product& product : sample::SampleCatalog::taobaoSearch(keyword, offset)) {
    if (product.kind != sample::ProductKind::Normal) continue;
    const std::string score = std::to_string(product.seller.score);
    const std::string level = PageExtractor::CreditLevelText(score);
    const bool passes = gbk::contains(levelFilter, literals::kAllCreditLevels) || level.empty() ||
                        gbk::contains(levelFilter, level);
    if (!passes) continue;
    rows.push_back({cleanedField(product.title), product.seller.sellerId, cleanedField(product.seller.nick),
                    level + ", " + std::string(literals::kSellerCreditLabelCell) + score});
  }
  return rows;
}

std::vector<ResultRow> expectedBuyerRows(const std::string& itemId, int page, const std::string& itemTitle,
                                         const std::string& itemAddress) {
  std::vector<ResultRow> rows;
  for (const sample::Review& review : sample::SampleCatalog::reviews(itemId, page).reviews) {
    if (review.accountGone) continue;
    rows.push_back({itemTitle, review.buyerId + "\t", HtmlTextCleaner(review.nick), itemAddress});
  }
  return rows;
}

std::vector<ResultRow> concat(std::initializer_list<std::vector<ResultRow>> parts) {
  std::vector<ResultRow> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace gleaner::testing
