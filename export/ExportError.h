// A failure to write an export file; what() is the library's or the
// system's own text.
#pragma once

#include <stdexcept>

namespace gleaner {

class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace gleaner
