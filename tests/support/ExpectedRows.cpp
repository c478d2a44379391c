#include "support/ExpectedRows.h"

#include <array>
#include <utility>

#include "sample-site/SampleCatalog.h"
#include "text/GbkConvert.h"

namespace gleaner::testing {

std::string gbkText(const char* utf8) { return gbk::fromUtf8(utf8); }

namespace {

// A catalog text as a reader sees it once the tool has cleaned it: the
// catalog's names hold no entity, so what goes is every space, hyphen, bar,
// slash, round bracket, "#" and "..." that stands as a character of its own
// (a byte that trails a Chinese character is part of that character).
std::string shownCleaned(const std::string& text) {
  std::string shown;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) {
      shown.append(text, i, 2);
      i += 2;
    } else if (text.compare(i, 3, "...") == 0) {
      i += 3;
    } else {
      if (std::string_view(" -|/()#").find(static_cast<char>(c)) == std::string_view::npos) shown += text[i];
      ++i;
    }
  }
  return shown;
}

// A field that stood in the highest group of its rule: cleaned, then its tab.
std::string cleanedField(const std::string& text) { return shownCleaned(text) + "\t"; }

// The credit levels by score band, as the rating rules of the sites define
// them: the lowest score of each band and its name.
const std::array<std::pair<int, const char*>, 20> kLevels = {{
    {4, "1桃心"},        {11, "2桃心"},       {41, "3桃心"},        {91, "4桃心"},        {151, "5桃心"},
    {251, "1钻"},        {501, "2钻"},        {1001, "3钻"},        {2001, "4钻"},        {5001, "5钻"},
    {10001, "1皇冠"},    {20001, "2皇冠"},    {50001, "3皇冠"},     {100001, "4皇冠"},    {200001, "5皇冠"},
    {500001, "1黄冠"},   {1000001, "2黄冠"},  {2000001, "3黄冠"},   {5000001, "4黄冠"},   {10000001, "5黄冠"},
}};

std::string levelOf(int score) {
  std::string level;
  for (const auto& [lowest, name] : kLevels) {
    if (score >= lowest) level = gbkText(name);
  }
  return level;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

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
    const std::string level = levelOf(product.seller.score);
    // A seller without a level passes every filter.
    const bool passes = contains(levelFilter, gbkText("所有信用等级")) || level.empty() || contains(levelFilter, level);
    if (!passes) continue;
    rows.push_back({cleanedField(product.title), product.seller.sellerId, cleanedField(product.seller.nick),
                    level + ", " + gbkText("卖家信用: ") + score});
  }
  return rows;
}

std::vector<ResultRow> expectedBuyerRows(const std::string& itemId, int page, const std::string& itemTitle,
                                         const std::string& itemAddress) {
  std::vector<ResultRow> rows;
  for (const sample::Review& review : sample::SampleCatalog::reviews(itemId, page).reviews) {
    if (review.accountGone) continue;
    rows.push_back({itemTitle, review.buyerId + "\t", shownCleaned(review.nick), itemAddress});
  }
  return rows;
}

std::vector<ResultRow> concat(std::initializer_list<std::vector<ResultRow>> parts) {
  std::vector<ResultRow> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace gleaner::testing
