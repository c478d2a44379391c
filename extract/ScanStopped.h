// Ends a pattern scan because its run was asked to stop. Not a failure: the
// page simply ends early, and nothing is reported.
#pragma once

#include <stdexcept>

namespace gleaner {

class ScanStopped : public std::runtime_error {
 public:
  ScanStopped() : std::runtime_error("scan stopped") {}
};

}  // namespace gleaner
