#include "net/UrlSplit.h"

#include <algorithm>
#include <cctype>

namespace gleaner {

namespace {

bool isUnsafeByte(unsigned char c) { return c <= 0x20 || c == 0x7F; }

bool isValidScheme(std::string_view scheme) {
  if (scheme.empty() || !std::isalpha(static_cast<unsigned char>(scheme.front()))) return false;
  return std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '+' || c == '-' || c == '.';
  });
}

bool isValidServer(std::string_view server) {
  if (server.empty()) return false;
  if (server.front() == '[') {
    if (server.size() < 3 || server.back() != ']') return false;
    const std::string_view inner = server.substr(1, server.size() - 2);
    return std::all_of(inner.begin(), inner.end(), [](unsigned char c) {
      return std::isxdigit(c) || c == ':' || c == '.';
    });
  }
  return std::all_of(server.begin(), server.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == '~' || c == '%';
  });
}

std::optional<int> parsePort(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (const unsigned char c : text) {
    if (!std::isdigit(c)) return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

int defaultPort(ServiceType type) {
  switch (type) {
    case ServiceType::Http:
      return 80;
    case ServiceType::Https:
      return 443;
    case ServiceType::Other:
      break;
  }
  return 0;
}

}  // namespace

std::optional<UrlSplit> UrlSplit::split(std::string_view address) {
  if (address.size() > kMaxLength) return std::nullopt;
  if (std::any_of(address.begin(), address.end(), [](unsigned char c) { return isUnsafeByte(c); })) {
    return std::nullopt;
  }
  const std::size_t schemeEnd = address.find("://");
  if (schemeEnd == std::string_view::npos || !isValidScheme(address.substr(0, schemeEnd))) return std::nullopt;

  UrlSplit url;
  url.scheme_.assign(address.substr(0, schemeEnd));
  std::transform(url.scheme_.begin(), url.scheme_.end(), url.scheme_.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  url.serviceType_ = url.scheme_ == "http" ? ServiceType::Http
                     : url.scheme_ == "https" ? ServiceType::Https
                                              : ServiceType::Other;

  const std::string_view rest = address.substr(schemeEnd + 3);
  const std::size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
  std::string_view authority = rest.substr(0, authorityEnd);
  const std::string_view object = rest.substr(authorityEnd);

  // User name and password are not used: only the server and port remain.
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);

  if (authority.empty()) return std::nullopt;
  std::string_view server = authority;
  std::string_view portText;
  const std::size_t bracketEnd = authority.front() == '[' ? authority.find(']') : 0;
  if (bracketEnd == std::string_view::npos) return std::nullopt;
  if (const std::size_t colon = authority.find(':', bracketEnd); colon != std::string_view::npos) {
    server = authority.substr(0, colon);
    portText = authority.substr(colon + 1);
  }
  if (!isValidServer(server)) return std::nullopt;
  url.server_.assign(server);

  if (portText.empty()) {
    url.port_ = defaultPort(url.serviceType_);
  } else {
    const auto port = parsePort(portText);
    if (!port) return std::nullopt;
    url.port_ = *port;
  }

  if (object.empty() || object.front() != '/') url.object_ = "/";
  url.object_.append(object);
  return url;
}

}  // namespace gleaner

