// A pattern that cannot be used: it does not compile, is empty, or a search
// with it ran past the regular-expression engine's complexity limit.
#pragma once

#include <stdexcept>
#include <string>

namespace gleaner {

class PatternError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace gleaner
