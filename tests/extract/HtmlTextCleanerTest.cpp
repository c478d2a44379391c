#include "extract/HtmlTextCleaner.h"

#include <gtest/gtest.h>

namespace gleaner {
namespace {

TEST(HtmlTextCleaner, RemovesSeparatorsAndEntityRemnants) {
  EXPECT_EQ(HtmlTextCleaner("Red Shoe (2014)"), "RedShoe2014");
  EXPECT_EQ(HtmlTextCleaner("x&amp;y"), "x;y");
  EXPECT_EQ(HtmlTextCleaner("a&nbsp;b&lt;c&gt;d&quot;e&copy;f&trade;g&reg;h"), "ab;c;d;e;f;g;h");
  EXPECT_EQ(HtmlTextCleaner("say \"hi\"|a/b#1\r\n"), "sayhiab1");
  // → (A1 FA) and □ (A1 F5) go; 中 (D6 D0) stays.
  EXPECT_EQ(HtmlTextCleaner("\xA1\xFA\xD6\xD0\xA1\xF5"), "\xD6\xD0");
}

TEST(HtmlTextCleaner, PassesRunOnceEachInTheirOrder) {
  // The minus goes only after the "&amp" pass has run.
  EXPECT_EQ(HtmlTextCleaner("&am-p"), "&amp");
  // One "..." goes, the fourth full stop stays.
  EXPECT_EQ(HtmlTextCleaner("a....b"), "a.b");
  EXPECT_EQ(HtmlTextCleaner("&AMP;"), "&AMP;");
}

TEST(HtmlTextCleaner, KeepsTabsAndWholeCharacters) {
  EXPECT_EQ(HtmlTextCleaner(" a\tb "), "a\tb");
  // 億 (83 7C) ends in the byte of "|" and survives; the real bars go.
  EXPECT_EQ(HtmlTextCleaner("|\x83\x7C|"), "\x83\x7C");
}

}  // namespace
}  // namespace gleaner
