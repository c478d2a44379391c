// Downloads a text over HTTP in one call (rule files, offer pages, rating
// pages). The status is not examined: an error page's body is the result.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gleaner {

// The body as lines, each followed by "\r\n"; an empty body gives "".
// Throws InternetError (net/InternetError.h) when the server cannot be
// reached, the body breaks off, runs past the deadline or is longer than
// maxBodyBytes (0: the client's limit for every page).
std::string RuleFetcher(const std::string& address, std::size_t maxBodyBytes = 0);

// A fetched rule text as a pattern: every "\r\n" pair removed, so the file's
// lines run together.
std::string ruleTextToPattern(std::string_view ruleText);

}  // namespace gleaner
