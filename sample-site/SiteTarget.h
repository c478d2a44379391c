// A request target exactly as it arrived ("/search?&q=abc&s=0&s=40",
// "/selloffer/offer_search.htm?keywords=abc&n=y#beginPage=2"), read the way
// the sample site needs it. The client sends a 1688 address's fragment along,
// so "#" starts one more key=value pair instead of ending the target.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gleaner::sample {

class SiteTarget {
 public:
  explicit SiteTarget(std::string_view raw);

  // Everything before the first '?' or '#'.
  const std::string& path() const { return path_; }

  // The percent-decoded value of the first / last pair with this key; a value
  // ends at '&', '#' or the end. Keys are compared exactly.
  std::optional<std::string> firstValue(std::string_view key) const;
  std::optional<std::string> lastValue(std::string_view key) const;

  // The leading decimal digits of a value as a number; fallback when the key
  // is missing or its value does not start with a digit.
  static long long number(const std::optional<std::string>& value, long long fallback);

  static std::string percentDecoded(std::string_view text);

 private:
  std::optional<std::string> valueOf(std::string_view key, bool first) const;

  std::string path_;
  std::string pairs_;  // what follows the path, its separators kept
};

}  // namespace gleaner::sample
