#include "extract/SellerReader.h"

#include <chrono>
#include <cstdint>

#include "extract/RuleScan.h"
#include "extract/Sites.h"
#include "extract/StopSignal.h"
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

std::string creditLevelText(const std::string& scoreText) {
  const std::int32_t score = gbk::decimalToInt(scoreText);
  if (score < kLowestRatedScore) return {};
  std::size_t band = 0;
  while (band < std::size(kLevelUpperBounds) && score > kLevelUpperBounds[band]) ++band;
  return std::string(literals::kCreditLevels[band]);
}

std::optional<SellerBlockFields> sellerBlockFields(const std::string& block) {
  if (block.empty() || !gbk::contains(block, "user_number_id=")) return std::nullopt;
  const std::string idAndRest = gbk::after(block, "user_number_id=");
  if (!gbk::contains(idAndRest, "\"")) return std::nullopt;
  return SellerBlockFields{gbk::before(block, "http"), gbk::before(idAndRest, "\"")};
}

std::optional<CreditReading> readCredit(const std::string& summary) {
  if (summary.empty() || !gbk::contains(summary, "<")) return std::nullopt;
  CreditReading reading;
  reading.scoreText = gbk::removeAll(gbk::before(summary, "<"), literals::kSellerCreditLabelPage);
  reading.level = creditLevelText(reading.scoreText);
  return reading;
}

std::string CreditReading::cell() const {
  return level + ", " + std::string(literals::kSellerCreditLabelCell) + scoreText;
}

SellerReader::SellerReader(const ReaderContext& context, std::string levelFilter)
    : PageReader(context, rules::kProductList), levelFilter_(std::move(levelFilter)) {}

void SellerReader::readRecord(const std::string& page, std::string record) {
  readProduct(page, record);
  // Every product record, skipped ones included, is followed by the pause,
  // the tool's politeness to the site. A stop cuts it short, and the scan
  // then ends before its next search.
  context().stop.sleepFor(kPauseAfterProduct);
}

void SellerReader::readProduct(const std::string& page, const std::string& record) {
  if (record.empty() || gbk::contains(record, literals::kReportItem)) return;

  const std::string productName = gbk::before(record, "http");
  // Without an item id, a seller block naming it, or a seller ID closed by a
  // double quote there is no seller to rate: the product gives no row and
  // costs no downloads.
  if (!gbk::contains(record, "id=")) return;
  std::string itemId = gbk::after(record, "id=");
  if (gbk::contains(itemId, "&")) itemId = gbk::before(itemId, "&");
  if (itemId.empty()) return;

  const auto seller = sellerBlockFields(sellerBlockOf(page, itemId));
  if (!seller) return;

  const std::string ratingAddress = "http://" + context().sites.ratingHost + "/user-rate-" + seller->sellerId + ".htm";
  // A rating page that cannot be had reads as one without a score: no level,
  // which every filter lets pass, so the seller's row is kept.
  const std::optional<std::string> ratingPage = lookup(ratingAddress);
  const auto credit = ratingPage ? readCredit(ratingSummaryOf(*ratingPage)) : CreditReading{};
  if (!credit || !levelPassesFilter(credit->level, levelFilter_)) return;

  addRow({productName, seller->sellerId, seller->nickname, credit->cell()});
}

std::string SellerReader::sellerBlockOf(const std::string& page, const std::string& itemId) {
  RuleScan scan(context().rules, rules::kSellerBlock, page);
  while (const auto record = scan.next()) {
    std::string candidate = gbk::removeAll(*record, " ");
    if (!candidate.empty() && gbk::contains(candidate, itemId)) return candidate;
  }
  return {};
}

std::string SellerReader::ratingSummaryOf(const std::string& ratingPage) {
  RuleScan scan(context().rules, rules::kRatingSummary, ratingPage);
  while (const auto record = scan.next()) {
    if (!record->empty() && gbk::contains(*record, "href")) return *record + "\r\n";
  }
  return {};
}

}  // namespace gleaner
