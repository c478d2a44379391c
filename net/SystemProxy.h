// The proxy that "preconfigured" access takes from the system. On Windows
// that is the current user's proxy setting (Internet Options, as WinHTTP
// reads it): one proxy server for every scheme or one per scheme, and a list
// of hosts that bypass it. Elsewhere libcurl's own proxy environment
// (http_proxy, no_proxy, ...) applies and the system has nothing to add.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gleaner {

class SystemProxy {
 public:
  // A setting in the system's own syntax:
  //   proxies  "host:port", or "http=host:port;https=host:port;socks=host:port"
  //   bypass   "*.example.com;10.1.*;<local>" (';', ',' or white space apart)
  SystemProxy(std::string_view proxies, std::string_view bypass);

  // The current user's setting; nothing when no proxy server is set (or off
  // Windows). Automatic detection and setup scripts are not followed.
  static std::optional<SystemProxy> current();

  // The proxy that libcurl is given for a request to scheme://host:
  // "http://host:port" or "socks4://host:port", or empty for a direct
  // connection (a bypassed host, a loopback address, a scheme without proxy).
  std::string proxyFor(std::string_view scheme, std::string_view host) const;

  // For an address: the current user's proxy for it, or nothing when the
  // system sets none and libcurl's own proxy handling applies.
  static std::optional<std::string> forAddress(std::string_view address);

 private:
  bool bypassed(std::string_view host) const;

  std::string all_;    // the proxy for every scheme
  std::string http_;   // per scheme; empty when not set
  std::string https_;
  std::string socks_;
  std::vector<std::string> bypass_;  // lower case
};

}  // namespace gleaner
