// Conversion between GBK (code page 936) and UTF-8, used only at the edges:
// the window, export files and the headless runner's output.
//
// Neither direction ever drops a whole text because of one bad byte: a GBK
// byte sequence that is not a character becomes U+FFFD, and a character that
// GBK cannot hold (or malformed UTF-8) becomes '?'.
#pragma once

#include <string>
#include <string_view>

namespace gleaner::gbk {

std::string toUtf8(std::string_view gbk);
std::string fromUtf8(std::string_view utf8);

}  // namespace gleaner::gbk
