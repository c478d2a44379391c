// Downloads a text over HTTP in one call (rule files, offer pages, rating
// pages). The status is not examined: an error page's body is the result.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gleaner {

// The body as lines, each followed by "\r\n"; an empty body gives "".
// Throws InternetError (net/InternetError.h) when the server cannot be
// reached, the body breaks off, runs past the deadline or is longer than
// maxBodyBytes (0: the client's limit for every page).
std::string RuleFetcher(const std::string& address, std::size_t maxBodyBytes = 0);

// A rule file: like RuleFetcher with the rule files' size limit, but only a
// 200 answer counts; a rule server's error page (a missing file) is no
// pattern. Throws InternetError naming the status otherwise.
std::string RuleFileFetcher(const std::string& address, std::size_t maxBodyBytes);

// An optional rule file: nothing when the rule server answers 404 (it does
// not have the file), otherwise as RuleFileFetcher.
std::optional<std::string> OptionalRuleFileFetcher(const std::string& address, std::size_t maxBodyBytes);

// A fetched rule text as a pattern: every "\r\n" pair removed, so the file's
// lines run together.
std::string ruleTextToPattern(std::string_view ruleText);

}  // namespace gleaner
