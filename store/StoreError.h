// A fault of the result store: its file cannot be opened, read or written.
// what() is SQLite's own text, for the last line of a message.
#pragma once

#include <stdexcept>
#include <string>

namespace gleaner {

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace gleaner
