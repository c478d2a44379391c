// Ends one extraction operation: a rule file or secondary page could not be
// downloaded, or its pattern could not be used. what() is the report line the
// window receives, as for a page that failed to download.
#pragma once

#include <stdexcept>
#include <string>

namespace gleaner {

class ExtractionFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace gleaner
