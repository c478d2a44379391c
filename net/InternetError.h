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

// GLEANER_CONNECT_TO cannot be read: the user's setting, not the network.
class ConnectToError : public InternetError {
 public:
  using InternetError::InternetError;
};

}  // namespace gleaner
