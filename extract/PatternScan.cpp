#include "extract/PatternScan.h"

#include <boost/regex.hpp>

#include "extract/MatchRecord.h"
#include "extract/PatternError.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

boost::regex compile(const std::string& pattern) {
  // Boost accepts an empty expression and would match it everywhere; a rule
  // file that came down empty is a broken rule, not a pattern.
  if (pattern.empty()) throw PatternError("pattern is empty");
  try {
    return boost::regex(pattern, boost::regex::perl | boost::regex::icase);
  } catch (const std::exception& e) {
    throw PatternError(std::string("pattern does not compile: ") + e.what());
  }
}

using Iterator = std::string::const_iterator;

// One search over [from, end) that sees from as the start of the text (no
// match_prev_avail). Boost throws std::runtime_error when a search gets too
// expensive; that must not reach a worker as anything but a pattern failure.
bool searchFrom(Iterator from, Iterator end, boost::match_results<Iterator>& match, const boost::regex& regex) {
  try {
    return boost::regex_search(from, end, match, regex, boost::match_default);
  } catch (const std::exception& e) {
    throw PatternError(std::string("pattern search too expensive: ") + e.what());
  }
}

}  // namespace

void PatternScan(const std::string& pattern, const std::string& text,
                 const std::function<bool(const std::string& record)>& handler) {
  const boost::regex regex = compile(pattern);
  const Iterator end = text.end();
  Iterator from = text.begin();
  boost::match_results<Iterator> match;
  while (searchFrom(from, end, match, regex)) {
    if (!handler(MatchRecord(match))) return;
    Iterator next = match[0].second;
    if (match[0].first == match[0].second) {
      // An empty match would be found again at the same place.
      if (next == end) return;
      next += static_cast<std::ptrdiff_t>(gbk::charLength(text, static_cast<std::size_t>(next - text.begin())));
    }
    from = next;
  }
}

}  // namespace gleaner
