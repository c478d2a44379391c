// The text that one pattern match hands to an extractor.
#pragma once

#include <boost/regex.hpp>

#include <string>

namespace gleaner {

// The capture groups from the highest-numbered down to group 1, each trimmed of
// white space, the highest one also passed through HtmlTextCleaner, each one
// that is then not empty followed by a tab. A group that took no part in the
// match counts as empty; a pattern without groups gives "".
std::string MatchRecord(const boost::match_results<std::string::const_iterator>& match);

}  // namespace gleaner
