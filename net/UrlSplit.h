// An address split into service type, server, object and port.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gleaner {

enum class ServiceType { Http, Https, Other };

class UrlSplit {
 public:
  // Splits "scheme://[user@]server[:port][object]". The object is the path
  // with query and fragment as they stand ("/" when the address has none);
  // the port defaults by scheme (80 for http, 443 for https, 0 for others).
  // Nothing when the address cannot be split: no "://", an empty or malformed
  // server, a bad port, white space or a control character anywhere (such a
  // byte could not go on a request line as it stands), or more than
  // kMaxLength bytes (no server takes such an address; one cut out of a page
  // must not be carried from page to page).
  static std::optional<UrlSplit> split(std::string_view address);
  static constexpr std::size_t kMaxLength = 64 * 1024;

  ServiceType serviceType() const { return serviceType_; }
  const std::string& scheme() const { return scheme_; }  // lower case
  const std::string& server() const { return server_; }  // an IPv6 address keeps its brackets
  const std::string& object() const { return object_; }
  int port() const { return port_; }

 private:
  ServiceType serviceType_ = ServiceType::Other;
  std::string scheme_;
  std::string server_;
  std::string object_;
  int port_ = 0;
};

}  // namespace gleaner
