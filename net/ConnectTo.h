// The connect-to map: requests for HOST:PORT connect to CONNECT-HOST:CONNECT-PORT
// instead, while the address, the Host header and the request stay the real
// ones, as a hosts-file entry would do. The entries use libcurl's connect-to
// syntax; an empty HOST or PORT matches any, an empty CONNECT-HOST or
// CONNECT-PORT keeps the original one. An IPv6 address goes in brackets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gleaner {

class ConnectTo {
 public:
  ConnectTo() = default;

  // Reads a comma-separated list of HOST:PORT:CONNECT-HOST:CONNECT-PORT
  // entries; white space around an entry and empty entries are ignored.
  // Throws InternetError naming the first malformed entry.
  static ConnectTo parse(std::string_view list);

  const std::vector<std::string>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }

 private:
  std::vector<std::string> entries_;
};

}  // namespace gleaner
