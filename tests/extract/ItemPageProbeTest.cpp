#include "extract/ItemPageProbe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace gleaner {
namespace {

const std::string kRatingHost = "rate.taobao.com";
const std::string kReview = "http://rate.taobao.com/detail_rate.htm?userNumId=7&auctionNumId=19&currentPage=1";

std::string reviewAddressOf(const std::string& page, const std::string& ratingHost = kRatingHost) {
  const ItemProbe probe = probeItemPage(page, ratingHost);
  EXPECT_EQ(probe.failure, "");
  return probe.reviewAddress;
}

TEST(ItemPageProbe, GivesTheReviewAddressBeforeIsmoreAndTheCleanedTitle) {
  const std::string page = "<html><head><title>Red Shoe - Sale (2014)</title></head>\r\n"
                           "<div id=\"reviews\" data-reviewApi=\"" + kReview + "&ismore=0&x=1\"></div>\r\n";
  const ItemProbe probe = probeItemPage(page, kRatingHost);
  EXPECT_EQ(probe.reviewAddress, kReview);
  EXPECT_EQ(probe.title, "RedShoeSale2014\t\r\n");
  EXPECT_EQ(probe.failure, "");
}

TEST(ItemPageProbe, AcceptsApostrophesAndVerticalBarsAsDelimiters) {
  EXPECT_EQ(reviewAddressOf("<p data-reviewApi='" + kReview + "&ismore=1'>"), kReview);
  EXPECT_EQ(reviewAddressOf("<p data-reviewApi=|" + kReview + "&ismore=1|>"), kReview);
}

TEST(ItemPageProbe, HostBaseCheckIsCaseSensitiveAndRejectsLookalikeHosts) {
  // The case-insensitive pattern matches capitals; the host check does not.
  EXPECT_EQ(reviewAddressOf("<p data-reviewApi=\"HTTP://RATE.TAOBAO.COM/detail_rate.htm?a=1&ismore=1\">"), "");
  // The first attribute's host has an "x" where a dot belongs: the pattern's
  // dots let it match, the host check passes on to the second one.
  const std::string page = "<p data-reviewApi=\"http://ratextaobao.com/detail_rate.htm?a=1&ismore=1\">"
                           "<p data-reviewApi=\"" + kReview + "&ismore=1\">";
  EXPECT_EQ(reviewAddressOf(page), kReview);
}

TEST(ItemPageProbe, AttributeWithoutIsmoreGivesNoAddress) {
  const ItemProbe probe = probeItemPage("<p data-reviewApi=\"" + kReview + "\"><title>T</title>", kRatingHost);
  EXPECT_EQ(probe.reviewAddress, "");
  EXPECT_EQ(probe.title, "T\t\r\n");
}

TEST(ItemPageProbe, UsesTheConfiguredRatingHost) {
  const std::string review = "http://127.0.0.1:8080/detail_rate.htm?currentPage=3";
  EXPECT_EQ(reviewAddressOf("<p data-reviewApi=\"" + review + "&ismore=1\">", "127.0.0.1:8080"), review);
  EXPECT_EQ(reviewAddressOf("<p data-reviewApi=\"" + kReview + "&ismore=1\">", "127.0.0.1:8080"), "");
}

TEST(ItemPageProbe, TakesTheFirstNonEmptyTitleOverLines) {
  EXPECT_EQ(probeItemPage("<TITLE> \r\n </TITLE><title>Blue\r\nCoat</title><title>x</title>", kRatingHost).title,
            "BlueCoat\t\r\n");
  EXPECT_EQ(probeItemPage("<title> - / # </title>", kRatingHost).title, "");
  const ItemProbe nothing = probeItemPage("<html><body>nothing here</body></html>", kRatingHost);
  EXPECT_EQ(nothing.reviewAddress, "");
  EXPECT_EQ(nothing.title, "");
  EXPECT_EQ(nothing.failure, "");
}

// Only a crafted page can make a probe's fixed pattern give up: thousands of
// titles never closed. The review address is still found, and the failure
// says which search gave up.
TEST(ItemPageProbe, ASearchThatGivesUpIsToldAndCostsOnlyItsOwnField) {
  std::string page = "<p data-reviewApi=\"" + kReview + "&ismore=1\">\r\n";
  for (int i = 0; i < 100000; ++i) page += "<title>x";
  const auto started = std::chrono::steady_clock::now();
  const ItemProbe probe = probeItemPage(page, kRatingHost);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_EQ(probe.reviewAddress, kReview);
  EXPECT_EQ(probe.title, "");
  EXPECT_EQ(probe.failure.rfind("item page probe\r\nPattern failed: pattern search too expensive", 0), 0u)
      << probe.failure;
}

}  // namespace
}  // namespace gleaner
