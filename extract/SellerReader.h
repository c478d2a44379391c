// The Taobao seller search: one row per product of a result page whose
// seller passes the level filter, with the seller's credit level worked out
// from the score on the seller's rating page.
#pragma once

#include <optional>
#include <string>

#include "extract/PageReader.h"

namespace gleaner {

// What the seller job cuts from a seller block (spaces already removed): the
// nickname before its first "http", the seller ID after its first
// "user_number_id=" up to the next double quote. Nothing without them.
struct SellerBlockFields {
  std::string nickname;
  std::string sellerId;
};
std::optional<SellerBlockFields> sellerBlockFields(const std::string& block);

// What the job reads from a rating summary: the score text before its first
// "<" less every "卖家信用：", and its level. Nothing without a "<".
struct CreditReading {
  std::string scoreText;
  std::string level;
  std::string cell() const;  // level, ", ", "卖家信用: ", score text
};
std::optional<CreditReading> readCredit(const std::string& summary);

// The credit level of a score: the name of its band, "" below 4 points.
std::string creditLevelText(const std::string& scoreText);

class SellerReader : public PageReader {
 public:
  // levelFilter: the level box's text; "所有信用等级" in it lets every seller pass.
  SellerReader(const ReaderContext& context, std::string levelFilter);

  // The seller block of the page that names the item id (spaces removed), or "".
  std::string sellerBlockOf(const std::string& page, const std::string& itemId);
  // The rating page's summary (its first record holding "href", CR LF after
  // it), or "".
  std::string ratingSummaryOf(const std::string& ratingPage);

 protected:
  void readRecord(const std::string& page, std::string record) override;

 private:
  void readProduct(const std::string& page, const std::string& record);

  const std::string levelFilter_;
};

}  // namespace gleaner
