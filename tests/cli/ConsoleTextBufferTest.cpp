// What a console window is handed: whole characters only, however the bytes
// were split across writes, UTF-8 or GBK.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "cli/ConsoleTextBuffer.h"

namespace gleaner::cli {
namespace {

struct Console {
  std::vector<std::string> pieces;
  ConsoleTextBuffer buffer{[this](std::string_view text) { pieces.emplace_back(text); }};
  std::ostream stream{&buffer};
  std::string shown() const {
    std::string all;
    for (const std::string& piece : pieces) all += piece;
    return all;
  }
};

TEST(ConsoleTextBuffer, HoldsBackACharacterSplitAcrossWrites) {
  Console console;
  const std::string walnut = "\xE6\xA0\xB8\xE6\xA1\x83";  // 核桃
  console.stream << walnut.substr(0, 4) << std::flush;
  ASSERT_EQ(console.pieces, std::vector<std::string>{"\xE6\xA0\xB8"});
  console.stream << walnut.substr(4) << "\xF0\x9F\x98" << std::flush;
  EXPECT_EQ(console.shown(), walnut) << "the emoji waits for its last byte";
  console.stream << "\x80\n";
  EXPECT_EQ(console.shown(), walnut + "\xF0\x9F\x98\x80\n") << "a line end flushes";
}

TEST(ConsoleTextBuffer, ShowsGbkRowsAsChineseAndKeepsALoneLeadByteForLater) {
  Console console;
  console.buffer.setGbk(true);
  console.stream << "\xBA\xCB\xCC" << std::flush;  // 核 and half of 桃
  ASSERT_EQ(console.shown(), "\xE6\xA0\xB8");
  console.stream << "\xD2," << '\n';
  EXPECT_EQ(console.shown(), "\xE6\xA0\xB8\xE6\xA1\x83,\n");
  // 0xFF begins no character: it is shown at once, as the replacement mark.
  console.stream << "\xFF" << std::flush;
  EXPECT_EQ(console.pieces.back(), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace gleaner::cli
