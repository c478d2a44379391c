// The text that one pattern match hands to an extractor.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gleaner {

// groups[0] is the whole match, groups[k] capture group k (empty when it took
// no part in the match). The record holds the capture groups from the
// highest-numbered down to group 1, each trimmed of white space, the highest
// one also passed through HtmlTextCleaner, each one that is then not empty
// followed by a tab. A pattern without groups gives "".
std::string MatchRecord(const std::vector<std::string_view>& groups);

// One group as the record holds it: trimmed of white space, and cleaned when
// it is the highest group.
std::string MatchField(std::string_view group, bool highest);

}  // namespace gleaner
