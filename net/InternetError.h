#pragma once

#include <stdexcept>
#include <string>

namespace gleaner {

// A failure of the internet client: no connection, a broken transfer, a
// time-out, an address that cannot be used.
class InternetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace gleaner
