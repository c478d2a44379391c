// Conversion between GBK (code page 936) and UTF-8, used only at the edges:
// the window, export files and the headless runner's output.
//
// Neither direction ever drops a whole text because of one bad byte: a GBK
// byte sequence that is not a character becomes U+FFFD, and a character that
// GBK cannot hold (or malformed UTF-8) becomes '?'.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace gleaner::gbk {

std::string toUtf8(std::string_view gbk);
std::string fromUtf8(std::string_view utf8);

// fromUtf8 for a text that is sent on, such as a search keyword: a
// character that GBK cannot hold (an emoji, say) is left out rather than
// sent as '?', and named in leftOut (UTF-8, each character once, in the
// order they first occur; a malformed sequence is named as U+FFFD).
struct GbkConversion {
  std::string gbk;
  std::string leftOut;
};
GbkConversion fromUtf8LeavingOut(std::string_view utf8);

// toUtf8 a piece at a time, for a text too long to hold twice: the pieces,
// each about pieceBytes of GBK cut between two characters, go to take as
// UTF-8 in order until take returns false. Together they are toUtf8(gbk).
void toUtf8InPieces(std::string_view gbk, std::size_t pieceBytes,
                    const std::function<bool(std::string_view utf8)>& take);

}  // namespace gleaner::gbk
