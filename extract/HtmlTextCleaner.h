// Strips entity remnants, separators and line breaks from one extracted field.
#pragma once

#include <string>

namespace gleaner {

// Removes, pass after pass in a fixed order, every occurrence of each of 21
// texts (entities, quotes, arrows, spaces, separators, CR, LF, "#"). Each pass
// is character-aware and case-sensitive; nothing is trimmed afterwards.
std::string HtmlTextCleaner(std::string text);

}  // namespace gleaner
