// A pattern that cannot be used: it is empty or does not compile, a search
// with it ran past its time budget or the regular-expression engine's
// complexity limit, or (where that is refused) it matches the empty text.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace gleaner {

class PatternError : public std::runtime_error {
 public:
  enum class Kind { Empty, Compile, Runaway, EmptyMatch };

  // detail: the regular-expression library's own words, when it had any;
  // position: for Compile, the byte of the pattern where it gave up (-1 when
  // it did not say).
  PatternError(Kind kind, const std::string& what, std::string detail = {}, std::ptrdiff_t position = -1)
      : std::runtime_error(what), kind_(kind), detail_(std::move(detail)), position_(position) {}

  Kind kind() const { return kind_; }
  const std::string& detail() const { return detail_; }
  std::ptrdiff_t position() const { return position_; }

 private:
  Kind kind_;
  std::string detail_;
  std::ptrdiff_t position_;
};

}  // namespace gleaner
