#include "extract/PatternScan.h"

#include <boost/regex.hpp>

#include <cstddef>
#include <iterator>
#include <string_view>
#include <vector>

#include "extract/MatchRecord.h"
#include "extract/PatternError.h"
#include "extract/ScanStopped.h"
#include "extract/StopSignal.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

using Clock = std::chrono::steady_clock;

boost::regex compile(const std::string& pattern) {
  // Boost accepts an empty expression and would match it everywhere; a rule
  // file that came down empty is a broken rule, not a pattern.
  if (pattern.empty()) throw PatternError(PatternError::Kind::Empty, "pattern is empty");
  try {
    return boost::regex(pattern, boost::regex::perl | boost::regex::icase);
  } catch (const boost::regex_error& e) {
    throw PatternError(PatternError::Kind::Compile, std::string("pattern does not compile: ") + e.what(), e.what(),
                       e.position());
  } catch (const std::exception& e) {
    throw PatternError(PatternError::Kind::Compile, std::string("pattern does not compile: ") + e.what(), e.what());
  }
}

// The work of one search, counted in characters the matcher reads. Boost's
// own complexity limit grows with the page times the square of the pattern's
// length, so a long rule runs for minutes on a crafted page before it gives
// up; this budget ends any search after limits.perSearch, the scan once its
// searches have taken limits.perScan in all, and either at a stop.
class SearchBudget {
 public:
  explicit SearchBudget(const ScanLimits& limits) : limits_(limits) {}

  void restart() {
    const auto now = Clock::now();
    if (searching_) spent_ += now - searchStart_;
    searching_ = true;
    searchStart_ = now;
    const auto left = std::chrono::duration_cast<Clock::duration>(limits_.perScan) - spent_;
    wholeScan_ = left < limits_.perSearch;
    deadline_ = now + (wholeScan_ ? left : std::chrono::duration_cast<Clock::duration>(limits_.perSearch));
    reads_ = 0;
    check();
  }
  // The search in hand has found its match (or the end).
  void searchDone() {
    if (searching_) spent_ += Clock::now() - searchStart_;
    searching_ = false;
  }
  void read() {
    if ((++reads_ & kCheckEvery) == 0) check();
  }

 private:
  static constexpr std::size_t kCheckEvery = 4096 - 1;  // a mask: the clock is read once per 4096 reads

  void check() const {
    if (limits_.stop != nullptr && limits_.stop->requested()) throw ScanStopped();
    if (Clock::now() < deadline_) return;
    if (wholeScan_) {
      throw PatternError(PatternError::Kind::Runaway, "pattern searches too expensive: more than " +
                                                          std::to_string(limits_.perScan.count()) +
                                                          " ms in all on one text");
    }
    throw PatternError(PatternError::Kind::Runaway, "pattern search too expensive: no result after " +
                                                        std::to_string(limits_.perSearch.count()) + " ms");
  }

  const ScanLimits& limits_;
  Clock::time_point deadline_;
  Clock::time_point searchStart_;
  Clock::duration spent_{0};
  bool searching_ = false;
  bool wholeScan_ = false;  // the scan's whole budget ends before the search's own
  std::size_t reads_ = 0;
};

PatternError emptyMatchError() {
  return PatternError(PatternError::Kind::EmptyMatch, "pattern matches the empty text");
}

// A pointer into the text that charges every character read to the budget.
// Boost's matcher is a template over its iterator, so the count sits in its
// innermost loop at the cost of one increment.
class BudgetIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  BudgetIterator() = default;
  BudgetIterator(const char* at, SearchBudget* budget) : at_(at), budget_(budget) {}

  const char* get() const { return at_; }

  reference operator*() const {
    if (budget_ != nullptr) budget_->read();
    return *at_;
  }
  reference operator[](difference_type n) const { return *(*this + n); }
  BudgetIterator& operator++() { ++at_; return *this; }
  BudgetIterator operator++(int) { BudgetIterator was = *this; ++at_; return was; }
  BudgetIterator& operator--() { --at_; return *this; }
  BudgetIterator operator--(int) { BudgetIterator was = *this; --at_; return was; }
  BudgetIterator& operator+=(difference_type n) { at_ += n; return *this; }
  BudgetIterator& operator-=(difference_type n) { at_ -= n; return *this; }
  friend BudgetIterator operator+(BudgetIterator it, difference_type n) { return it += n; }
  friend BudgetIterator operator+(difference_type n, BudgetIterator it) { return it += n; }
  friend BudgetIterator operator-(BudgetIterator it, difference_type n) { return it -= n; }
  friend difference_type operator-(const BudgetIterator& a, const BudgetIterator& b) { return a.at_ - b.at_; }
  friend bool operator==(const BudgetIterator& a, const BudgetIterator& b) { return a.at_ == b.at_; }
  friend auto operator<=>(const BudgetIterator& a, const BudgetIterator& b) { return a.at_ <=> b.at_; }

 private:
  const char* at_ = nullptr;
  SearchBudget* budget_ = nullptr;
};

// One search over [from, end) that sees from as the start of the text (no
// match_prev_avail). Boost throws std::runtime_error when a search gets too
// expensive; that must not reach a worker as anything but a pattern failure.
bool searchFrom(BudgetIterator from, BudgetIterator end, boost::match_results<BudgetIterator>& match,
                const boost::regex& regex) {
  try {
    return boost::regex_search(from, end, match, regex, boost::match_default);
  } catch (const PatternError&) {
    throw;
  } catch (const ScanStopped&) {
    throw;
  } catch (const std::exception& e) {
    throw PatternError(PatternError::Kind::Runaway, std::string("pattern search too expensive: ") + e.what(),
                       e.what());
  }
}

bool matchesEmptyText(const boost::regex& regex) {
  const std::string nothing;
  try {
    return boost::regex_search(nothing, regex, boost::match_default);
  } catch (const std::exception& e) {
    throw PatternError(PatternError::Kind::Runaway, std::string("pattern search too expensive: ") + e.what(),
                       e.what());
  }
}

MatchDetail detailOf(const boost::match_results<BudgetIterator>& match, const char* textStart) {
  MatchDetail detail;
  detail.begin = static_cast<std::size_t>(match[0].first.get() - textStart);
  detail.end = static_cast<std::size_t>(match[0].second.get() - textStart);
  detail.groups.resize(match.size());
  detail.participated.resize(match.size());
  for (std::size_t k = 0; k < match.size(); ++k) {
    const auto& sub = match[static_cast<int>(k)];
    detail.participated[k] = sub.matched;
    if (sub.matched) {
      detail.groups[k] = std::string_view(sub.first.get(), static_cast<std::size_t>(sub.second - sub.first));
    }
  }
  return detail;
}

}  // namespace

struct PatternCursor::State {
  State(const std::string& pattern, const std::string& text, const ScanLimits& scanLimits)
      : regex(compile(pattern)),
        limits(scanLimits),
        budget(limits),
        textStart(text.data()),
        text(text),
        begin(text.data(), &budget),
        end(text.data() + text.size(), &budget),
        from(begin) {}

  const boost::regex regex;
  const ScanLimits limits;
  SearchBudget budget;
  const char* textStart;
  const std::string& text;
  const BudgetIterator begin;
  const BudgetIterator end;
  BudgetIterator from;
  bool done = false;
  boost::match_results<BudgetIterator> match;
};

PatternCursor::PatternCursor(const std::string& pattern, const std::string& text, const ScanLimits& limits)
    : state_(std::make_unique<State>(pattern, text, limits)) {
  if (limits.refuseEmptyMatches && matchesEmptyText(state_->regex)) throw emptyMatchError();
}

PatternCursor::~PatternCursor() = default;

std::optional<MatchDetail> PatternCursor::next() {
  State& s = *state_;
  if (s.done) return std::nullopt;
  s.budget.restart();
  const bool found = searchFrom(s.from, s.end, s.match, s.regex);
  s.budget.searchDone();
  if (!found) {
    s.done = true;
    return std::nullopt;
  }
  if (s.limits.refuseEmptyMatches && s.match[0].first == s.match[0].second) throw emptyMatchError();
  MatchDetail detail = detailOf(s.match, s.textStart);
  BudgetIterator next = s.match[0].second;
  if (s.match[0].first == s.match[0].second) {
    // An empty match would be found again at the same place.
    if (next == s.end) {
      s.done = true;
    } else {
      next += static_cast<std::ptrdiff_t>(gbk::charLength(s.text, static_cast<std::size_t>(next - s.begin)));
    }
  }
  s.from = next;
  return detail;
}

void PatternScan(const std::string& pattern, const std::string& text,
                 const std::function<bool(const std::string& record)>& handler, const ScanLimits& limits) {
  PatternScanMatches(pattern, text, [&](const MatchDetail&, const std::string& record) { return handler(record); },
                     limits);
}

PatternShape InspectPattern(const std::string& pattern) {
  const boost::regex regex = compile(pattern);
  return {regex.mark_count(), matchesEmptyText(regex)};
}

void PatternScanMatches(const std::string& pattern, const std::string& text, const MatchHandler& handler,
                        const ScanLimits& limits) {
  PatternCursor cursor(pattern, text, limits);
  while (const auto match = cursor.next()) {
    if (!handler(*match, MatchRecord(match->groups))) return;
  }
}

}  // namespace gleaner
