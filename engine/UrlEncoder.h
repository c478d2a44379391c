#pragma once

#include <string>
#include <string_view>

namespace gleaner {

// Query-string form of a GBK keyword, byte by byte: lower-case ASCII letters
// and digits stay, every other byte becomes %XX in upper-case hex (a two-byte
// character gives two escapes; "A" gives %41, a space %20).
std::string UrlEncoder(std::string_view text);

}  // namespace gleaner
