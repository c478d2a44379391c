#include "text/GbkText.h"

#include <gtest/gtest.h>

#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner::gbk {
namespace {

// 億 is 83 7C: its trail byte is the vertical bar. 中 is D6 D0.
const std::string kYi = "\x83\x7C";
const std::string kZhong = "\xD6\xD0";

TEST(GbkFind, NeverMatchesATrailByte) {
  const std::string text = "a" + kYi + "b|c";
  EXPECT_EQ(find(text, "|"), 4u);
  EXPECT_EQ(find(text, kYi), 1u);
  EXPECT_FALSE(contains(kYi, "|"));
  // "[" is 5B and "]" 5D: both are trail bytes of common characters too.
  EXPECT_EQ(find("\xB0\x5B[", "["), 2u);
}

TEST(GbkFind, StartsFromAPositionAndNeedsAWholeMatch) {
  const std::string text = "ab" + kZhong + "ab";
  EXPECT_EQ(find(text, "ab", 1), 4u);
  EXPECT_EQ(find(text, "ab", 5), npos);
  EXPECT_EQ(find(text, ""), npos);
  // A match may not end inside a two-byte character.
  EXPECT_EQ(find("ab" + kYi, "ab\x83"), npos);
}

TEST(GbkFind, LoneLeadByteAtTheEndIsOneCharacter) {
  const std::string text = "x|\xD6";
  EXPECT_EQ(charLength(text, 2), 1u);
  EXPECT_EQ(find(text, "\xD6"), 2u);
  EXPECT_EQ(find(text, "|"), 1u);
  EXPECT_EQ(removeAll(text + "", "|"), "x\xD6");
}

// A high byte is a lead byte only when a trail byte (40-7E, 80-FE) follows;
// otherwise it stands alone and the byte after it is found like any other.
TEST(GbkStrayBytes, AStrayHighByteHidesNothingAfterIt) {
  // Before the comma of a buyer record, a tab, CR LF, a space, a quote.
  EXPECT_EQ(before("nick\xD6,123\t", ","), "nick\xD6");
  EXPECT_EQ(after("nick\xD6,123\t", ","), "123\t");
  EXPECT_EQ(find("a\x81\t", "\t"), 2u);
  EXPECT_EQ(removeAll("line\xFE\r\nnext\xA1\r\n", "\r\n"), "line\xFEnext\xA1");
  EXPECT_EQ(removeAll("\xB0 \xB0\"", " "), "\xB0\xB0\"");
  EXPECT_EQ(replaceAll("x\x83<y", "<", "&lt;"), "x\x83&lt;y");
  // 7F and FF are no trail bytes either; FF is no lead byte.
  EXPECT_EQ(charLength("\x83\x7F", 0), 1u);
  EXPECT_EQ(charLength("\x83\xFF", 0), 1u);
  EXPECT_EQ(charLength("\xFF|", 0), 1u);
  EXPECT_EQ(find("\xFF|", "|"), 1u);
  // A stray byte before a real character leaves that character whole.
  EXPECT_EQ(find("\xD6" "0" + kYi + "|", "|"), 4u);
  // Real characters are still stepped over, whatever their trail byte.
  EXPECT_EQ(charLength(kYi, 0), 2u);
  EXPECT_EQ(charLength("\x81\x40", 0), 2u);
  EXPECT_EQ(charLength("\xFE\xFE", 0), 2u);
}

TEST(GbkPrintable, ReplacesControlCharactersButKeepsLineEndsAndChinese) {
  EXPECT_EQ(printable("a\x1B[2J\x07\tb\x7F\r\n" + kYi + kZhong), "a?[2J??b?\r\n" + kYi + kZhong);
  EXPECT_EQ(printable(""), "");
}

TEST(GbkReplace, OnePassLeftToRightWithoutRescanning) {
  EXPECT_EQ(replaceAll("aaaa", "aa", "a"), "aa");
  EXPECT_EQ(removeAll("a....b", "..."), "a.b");
  // Removing "ab" from "aabb" leaves "ab": the joined text is not searched again.
  EXPECT_EQ(removeAll("aabb", "ab"), "ab");
  EXPECT_EQ(removeAll(kYi + "|" + kYi, "|"), kYi + kYi);
  EXPECT_EQ(replaceAll("x", "", "y"), "x");
}

TEST(GbkCut, MissingMarkersFollowTheConvention) {
  EXPECT_EQ(before("nick,123", ","), "nick");
  EXPECT_EQ(after("nick,123,4", ","), "123,4");
  EXPECT_EQ(fromMarker("name\tmemberid=x", "memberid="), "memberid=x");
  // Cutting before a missing marker gives the empty text, after it the whole text.
  EXPECT_EQ(before("no comma", ","), "");
  EXPECT_EQ(after("no comma", ","), "no comma");
  EXPECT_EQ(fromMarker("no key", "memberid="), "no key");
  // The marker is found on character boundaries only.
  EXPECT_EQ(before(kYi + "|x", "|"), kYi);
}

TEST(GbkTrim, RemovesTheSixWhiteSpaceCharactersOnly) {
  EXPECT_EQ(trimWhite(" \t\r\n\v\fa b\f\v\n\r\t "), "a b");
  EXPECT_EQ(trimWhite(" \t "), "");
  // A full-width space (A1 A1) is not white space here.
  EXPECT_EQ(trimWhite("\xA1\xA1x "), "\xA1\xA1x");
  // A typed value loses it too, at both ends only; "啊" (B0 A1) before a
  // stray A1 is no full-width space.
  EXPECT_EQ(trimTyped("\xA1\xA1 \r\n" + kZhong + "\xA1\xA1" "a\t\xA1\xA1\r\n"), kZhong + "\xA1\xA1" "a");
  EXPECT_EQ(trimTyped(" \xA1\xA1\n"), "");
  EXPECT_EQ(trimTyped("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
}

TEST(GbkDecimal, ReadsLikeAtoi) {
  EXPECT_EQ(decimalToInt("10"), 10);
  EXPECT_EQ(decimalToInt("  \t-42abc"), -42);
  EXPECT_EQ(decimalToInt("+7"), 7);
  EXPECT_EQ(decimalToInt(""), 0);
  EXPECT_EQ(decimalToInt("abc"), 0);
  EXPECT_EQ(decimalToInt("- 5"), 0);
  EXPECT_EQ(decimalToInt("1234</b>"), 1234);
  EXPECT_EQ(decimalToInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(decimalToInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(GbkConvert, RoundTripsChineseAndAscii) {
  const std::string utf8 = "\xE5\x84\x84 abc \xE4\xB8\xAD";  // 億 abc 中
  EXPECT_EQ(toUtf8(kYi + " abc " + kZhong), utf8);
  EXPECT_EQ(fromUtf8(utf8), kYi + " abc " + kZhong);
  EXPECT_EQ(toUtf8(literals::kRunFinished), "\xE4\xBB\xBB\xE5\x8A\xA1\xE5\xAE\x8C\xE6\x88\x90\xEF\xBC\x81");
}

TEST(GbkConvert, BadBytesBecomeReplacementCharactersNotAnEmptyText) {
  const std::string fffd = "\xEF\xBF\xBD";
  // A lone lead byte at the end, a lead byte before a byte that cannot trail
  // (the digit is read again on its own), and 0xFF.
  EXPECT_EQ(toUtf8("ab\xD6"), "ab" + fffd);
  EXPECT_EQ(toUtf8("\xD6" "0" + kZhong), fffd + "0\xE4\xB8\xAD");
  EXPECT_EQ(toUtf8("x\xFFy"), "x" + fffd + "y");
}

TEST(GbkConvert, AStrayByteBeforeAMarkIsReplacedAloneAndTheMarkKept) {
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(toUtf8("a\xD6,b"), "a" + fffd + ",b");
  EXPECT_EQ(toUtf8("a\xD6\tb\xD6\r\n"), "a" + fffd + "\tb" + fffd + "\r\n");
  EXPECT_EQ(toUtf8("\x83\x7F"), fffd + "\x7F");
}

TEST(GbkConvert, CharactersGbkLacksBecomeQuestionMarks) {
  // U+1F600 has no GBK form; malformed UTF-8 is replaced too.
  EXPECT_EQ(fromUtf8("a\xF0\x9F\x98\x80" "b"), "a?b");
  EXPECT_EQ(fromUtf8("a\xC3" "b"), "a?b");
  // One '?' per character, also for characters outside the BMP and next to
  // Chinese text; no look-alike letter for one that GBK lacks (U+00C0).
  EXPECT_EQ(fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x8D\x8E\xE4\xB8\xAD"), "??\xD6\xD0");
  EXPECT_EQ(fromUtf8("\xC3\x80" "x"), "?x");
  EXPECT_EQ(fromUtf8("\x80\xE4\xB8"), "??");
}

TEST(GbkConvert, ATextSentOnLeavesOutAndNamesWhatGbkLacks) {
  const std::string grin = "\xF0\x9F\x98\x80";  // U+1F600
  const std::string check = "\xE2\x9C\x93";     // U+2713
  const GbkConversion keyword = fromUtf8LeavingOut(grin + "\xE4\xB8\xAD" + check + "?" + grin);
  EXPECT_EQ(keyword.gbk, kZhong + "?") << "a question mark typed stays";
  EXPECT_EQ(keyword.leftOut, grin + check) << "each once, in order";
  EXPECT_EQ(fromUtf8LeavingOut("a\xC3" "b").leftOut, "\xEF\xBF\xBD");
  EXPECT_EQ(fromUtf8LeavingOut("a\xC3" "b").gbk, "ab");
  EXPECT_EQ(fromUtf8LeavingOut("\xE4\xB8\xAD").leftOut, "");
}

TEST(Literals, StatusLineOfAPage) {
  EXPECT_EQ(toUtf8(literals::collectingPage(12)),
            "\xE6\xAD\xA3\xE5\x9C\xA8\xE9\x87\x87\xE9\x9B\x86\xE7\xAC\xAC" "12\xE9\xA1\xB5");
}

}  // namespace
}  // namespace gleaner::gbk
