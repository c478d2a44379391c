#pragma once

#include <stdexcept>
#include <string>

namespace gleaner {

// What kind of failure ended a download, for the short reason a user reads;
// the message itself keeps the details for support.
enum class FailureKind {
  Unreachable,  // no connection could be made: no such host, refused
  NoAnswer,     // the server went silent or did not finish in time
  BrokenOff,    // the connection broke off, or the answer made no sense
  TooLarge,     // the page or its head outgrew its limit
  Status,       // the server answered with another status than the one needed
  Redirect,     // a redirect that cannot be followed: no location, another scheme, a loop
  BadAddress,   // the address cannot be requested as it stands
  Aborted,      // the run was stopped, or the program is closing
  Other,
};

// A failure of the internet client: no connection, a broken transfer, a
// time-out, an address that cannot be used.
class InternetError : public std::runtime_error {
 public:
  explicit InternetError(const std::string& what, FailureKind kind = FailureKind::Other, int status = 0)
      : std::runtime_error(what), kind_(kind), status_(status) {}

  FailureKind kind() const { return kind_; }
  // The HTTP status of a FailureKind::Status failure; 0 otherwise.
  int status() const { return status_; }

 private:
  FailureKind kind_;
  int status_;
};

// GLEANER_CONNECT_TO cannot be read: the user's setting, not the network.
class ConnectToError : public InternetError {
 public:
  using InternetError::InternetError;
};

}  // namespace gleaner
