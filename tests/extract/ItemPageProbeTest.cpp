#include <gtest/gtest.h>

#include <string>

#include "engine/MemoryWindow.h"
#include "extract/PageExtractor.h"

namespace gleaner {
namespace {

class ItemPageProbeTest : public ::testing::Test {
 protected:
  std::string probe(const std::string& page) {
    PageExtractor extractor(window, sites);
    return extractor.ItemPageProbe(page);
  }

  MemoryWindow window;
  Sites sites;  // rating host rate.taobao.com
};

const std::string kReview = "http://rate.taobao.com/detail_rate.htm?userNumId=7&auctionNumId=19&currentPage=1";

TEST_F(ItemPageProbeTest, GivesReviewAddressBeforeIsmoreAndTheCleanedTitle) {
  const std::string page = "<html><head><title>Red Shoe - Sale (2014)</title></head>\r\n"
                           "<div id=\"reviews\" data-reviewApi=\"" + kReview + "&ismore=0&x=1\"></div>\r\n";
  EXPECT_EQ(probe(page), kReview + "#RedShoeSale2014\t\r\n");
  EXPECT_TRUE(window.reports().empty());
}

TEST_F(ItemPageProbeTest, AcceptsApostrophesAndVerticalBarsAsDelimiters) {
  EXPECT_EQ(probe("<p data-reviewApi='" + kReview + "&ismore=1'>"), kReview + "#");
  EXPECT_EQ(probe("<p data-reviewApi=|" + kReview + "&ismore=1|>"), kReview + "#");
}

TEST_F(ItemPageProbeTest, HostBaseCheckIsCaseSensitiveAndRejectsLookalikeHosts) {
  // The case-insensitive pattern matches capitals; the host check does not.
  EXPECT_EQ(probe("<p data-reviewApi=\"HTTP://RATE.TAOBAO.COM/detail_rate.htm?a=1&ismore=1\">"), "#");
  // The first attribute's host has an "x" where a dot belongs: the pattern's
  // dots let it match, the host check passes on to the second one.
  const std::string page = "<p data-reviewApi=\"http://ratextaobao.com/detail_rate.htm?a=1&ismore=1\">"
                           "<p data-reviewApi=\"" + kReview + "&ismore=1\">";
  EXPECT_EQ(probe(page), kReview + "#");
}

TEST_F(ItemPageProbeTest, AttributeWithoutIsmoreGivesNoAddress) {
  EXPECT_EQ(probe("<p data-reviewApi=\"" + kReview + "\"><title>T</title>"), "#T\t\r\n");
}

TEST_F(ItemPageProbeTest, UsesTheConfiguredRatingHost) {
  sites.ratingHost = "127.0.0.1:8080";
  const std::string review = "http://127.0.0.1:8080/detail_rate.htm?currentPage=3";
  EXPECT_EQ(probe("<p data-reviewApi=\"" + review + "&ismore=1\">"), review + "#");
  EXPECT_EQ(probe("<p data-reviewApi=\"" + kReview + "&ismore=1\">"), "#");
}

TEST(PageTitleReader, FirstNonEmptyTitleOverLines) {
  MemoryWindow window;
  Sites sites;
  PageExtractor extractor(window, sites);
  EXPECT_EQ(extractor.PageTitleReader("<TITLE> \r\n </TITLE><title>Blue\r\nCoat</title><title>x</title>"),
            "BlueCoat\t\r\n");
  EXPECT_EQ(extractor.PageTitleReader("<title> - / # </title>"), "");
  EXPECT_EQ(extractor.ItemPageProbe("<html><body>nothing here</body></html>"), "#");
}

}  // namespace
}  // namespace gleaner
