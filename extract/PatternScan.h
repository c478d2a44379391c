// The one way every extractor applies a pattern to a text.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gleaner {

class StopSignal;

// What bounds one scan, whatever the pattern and the page.
struct ScanLimits {
  // A search that has worked this long without finding its next match gives
  // up: sound patterns need milliseconds even on a page of the size limit,
  // and a runaway one would otherwise hold a worker for minutes.
  std::chrono::milliseconds perSearch{1000};
  // All the searches of one scan together: many slow searches, each within
  // its second, must not hold a page for minutes either.
  std::chrono::milliseconds perScan{10000};
  // When given, the scan ends as soon as a stop is requested: before its
  // next search, and inside a search under way.
  const StopSignal* stop = nullptr;
  // A pattern that matches the empty text is no rule: it would give an empty
  // record at every character. With this set, such a pattern fails as soon
  // as it is compiled, and so does any match of the scan that is empty.
  bool refuseEmptyMatches = false;
};

// Compiles pattern (Perl syntax, case-insensitive) and searches it over text
// again and again, calling handler with the MatchRecord of each match in text
// order until nothing more matches or the handler returns false. Each search
// starts where the previous whole match ended, and that place counts as the
// start of the text for ^, \b and look-behind. An empty match moves the next
// search on by one character, so the scan always ends.
//
// Throws PatternError when the pattern is empty or does not compile, or when a
// search runs past limits.perSearch or the engine's own complexity limit;
// ScanStopped when the stop came. Whatever the handler throws passes through
// unchanged.
void PatternScan(const std::string& pattern, const std::string& text,
                 const std::function<bool(const std::string& record)>& handler, const ScanLimits& limits = {});


// One match as the scan found it, before its groups were trimmed or cleaned.
struct MatchDetail {
  std::size_t begin = 0;  // the whole match: text[begin, end)
  std::size_t end = 0;
  // groups[0] is the whole match, groups[k] capture group k; views into the
  // text, empty for a group that took no part in the match.
  std::vector<std::string_view> groups;
  std::vector<bool> participated;
};

// The scan as a cursor: each call of next() runs one search and hands over
// the match it found, so that a reader can take a record, do its own work
// (ask for a further page, pause) and only then ask for the next one. The
// pattern is compiled when the cursor is made (PatternError when it cannot
// be); next() throws what PatternScan throws. text must outlive the cursor.
class PatternCursor {
 public:
  PatternCursor(const std::string& pattern, const std::string& text, const ScanLimits& limits = {});
  ~PatternCursor();
  PatternCursor(const PatternCursor&) = delete;
  PatternCursor& operator=(const PatternCursor&) = delete;

  // The next match, or nothing when no more matches.
  std::optional<MatchDetail> next();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The same scan, telling the handler where each match stands and what each
// group held besides the MatchRecord.
using MatchHandler = std::function<bool(const MatchDetail& match, const std::string& record)>;
void PatternScanMatches(const std::string& pattern, const std::string& text, const MatchHandler& handler,
                        const ScanLimits& limits = {});

// What a pattern is, compiled as PatternScan compiles it: its number of
// capture groups and whether it matches the empty text. Throws PatternError
// as PatternScan does.
struct PatternShape {
  std::size_t groups = 0;
  bool matchesEmptyText = false;
};
PatternShape InspectPattern(const std::string& pattern);

}  // namespace gleaner
