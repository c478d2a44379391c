// The one way every extractor applies a pattern to a text.
#pragma once

#include <functional>
#include <string>

namespace gleaner {

// Compiles pattern (Perl syntax, case-insensitive) and searches it over text
// again and again, calling handler with the MatchRecord of each match in text
// order until nothing more matches or the handler returns false. Each search
// starts where the previous whole match ended, and that place counts as the
// start of the text for ^, \b and look-behind. An empty match moves the next
// search on by one character, so the scan always ends.
//
// Throws PatternError when the pattern is empty or does not compile, or when a
// search runs past the engine's complexity limit. Whatever the handler throws
// passes through unchanged.
void PatternScan(const std::string& pattern, const std::string& text,
                 const std::function<bool(const std::string& record)>& handler);

}  // namespace gleaner
