#include "extract/PageExtractor.h"

#include <chrono>
#include <cstdint>

#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

constexpr auto kPauseAfterProduct = std::chrono::milliseconds(500);

// Upper bound of each level's score band, in the order of literals::kCreditLevels;
// the last band has none.
constexpr std::int64_t kLevelUpperBounds[] = {
    10,     40,     90,      150,     250,     500,     1000,    2000,     5000,     10000,
    20000,  50000,  100000,  200000,  500000,  1000000, 2000000, 5000000,  10000000,
};
constexpr std::int32_t kLowestRatedScore = 4;

bool levelPassesFilter(const std::string& level, const std::string& filter) {
  // An empty level (a seller below the first band) is contained in every filter.
  return gbk::contains(filter, literals::kAllCreditLevels) || level.empty() || gbk::contains(filter, level);
}

}  // namespace

std::string PageExtractor::CreditLevelText(const std::string& scoreText) {
  const std::int32_t score = gbk::decimalToInt(scoreText);
  if (score < kLowestRatedScore) return {};
  std::size_t band = 0;
  while (band < std::size(kLevelUpperBounds) && score > kLevelUpperBounds[band]) ++band;
  return std::string(literals::kCreditLevels[band]);
}

std::optional<PageExtractor::SellerBlockFields> PageExtractor::sellerBlockFields(const std::string& block) {
  if (block.empty() || !gbk::contains(block, "user_number_id=")) return std::nullopt;
  const std::string idAndRest = gbk::after(block, "user_number_id=");
  if (!gbk::contains(idAndRest, "\"")) return std::nullopt;
  return SellerBlockFields{gbk::before(block, "http"), gbk::before(idAndRest, "\"")};
}

std::optional<PageExtractor::CreditReading> PageExtractor::readCredit(const std::string& summary) {
  if (summary.empty() || !gbk::contains(summary, "<")) return std::nullopt;
  CreditReading reading;
  reading.scoreText = gbk::removeAll(gbk::before(summary, "<"), literals::kSellerCreditLabelPage);
  reading.level = CreditLevelText(reading.scoreText);
  return reading;
}

std::string PageExtractor::CreditReading::cell() const {
  return level + ", " + std::string(literals::kSellerCreditLabelCell) + scoreText;
}

bool PageExtractor::SellerExtractor(const std::string& page) {
  return readListPage(rules::kProductList, page, [&](const std::string& record) {
    handleProductRecord(page, record);
    // Every product record, skipped ones included, is followed by the
    // pause, the tool's politeness to the site. A stop cuts it short, and
    // the scan then ends before its next search.
    run_.stop.sleepFor(kPauseAfterProduct);
    return true;
  });
}

void PageExtractor::handleProductRecord(const std::string& page, const std::string& record) {
  if (record.empty() || gbk::contains(record, literals::kReportItem)) return;

  const std::string productName = gbk::before(record, "http");
  // Without an item id, a seller block naming it, or a seller ID closed by a
  // double quote there is no seller to rate: the product gives no row and
  // costs no downloads.
  if (!gbk::contains(record, "id=")) return;
  std::string itemId = gbk::after(record, "id=");
  if (gbk::contains(itemId, "&")) itemId = gbk::before(itemId, "&");
  if (itemId.empty()) return;

  const auto seller = sellerBlockFields(findSellerBlock(page, itemId));
  if (!seller) return;

  const std::string ratingAddress = "http://" + sites_.ratingHost + "/user-rate-" + seller->sellerId + ".htm";
  const auto credit = readCredit(findRatingSummary(download(ratingAddress)));
  if (!credit || !levelPassesFilter(credit->level, run_.settings.levelFilterText)) return;

  const std::string countText = std::to_string(++window_.runFields().sellerRowCounter);
  appendRow({productName, seller->sellerId, seller->nickname, credit->cell()}, countText);
}

std::string PageExtractor::SellerBlockLookup(const std::string& page, const std::string& itemId) {
  std::string block;
  guarded([&] { block = findSellerBlock(page, itemId); });
  return block;
}

std::string PageExtractor::findSellerBlock(const std::string& page, const std::string& itemId) {
  std::string block;
  scanWithRule(rules::kSellerBlock, page, Scope::Lookup, [&](const std::string& record) {
    std::string candidate = gbk::removeAll(record, " ");
    if (candidate.empty() || !gbk::contains(candidate, itemId)) return true;
    block = std::move(candidate);
    return false;
  });
  return block;
}

std::string PageExtractor::RatingSummaryLookup(const std::string& ratingPage) {
  std::string summary;
  guarded([&] { summary = findRatingSummary(ratingPage); });
  return summary;
}

std::string PageExtractor::findRatingSummary(const std::string& ratingPage) {
  std::string summary;
  scanWithRule(rules::kRatingSummary, ratingPage, Scope::Lookup, [&](const std::string& record) {
    if (record.empty() || !gbk::contains(record, "href")) return true;
    summary = record + "\r\n";
    return false;
  });
  return summary;
}

}  // namespace gleaner
