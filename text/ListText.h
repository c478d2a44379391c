// The entries of a list a user gives: a keywords or item addresses file, or
// a list pasted into the batch box. One entry per line; white space (full
// width too) around each is trimmed; blank lines and lines that start with
// "#" are left out. The text is UTF-8 (a byte-order mark allowed) or, where
// it is not valid UTF-8, GBK, as Windows' own editors save it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gleaner::gbk {

// The entries as GBK, in the order they stand.
std::vector<std::string> listEntries(std::string_view bytes);

bool isValidUtf8(std::string_view text);

}  // namespace gleaner::gbk
