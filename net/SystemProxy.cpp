#include "net/SystemProxy.h"

#include <algorithm>
#include <cctype>

#include "net/UrlSplit.h"
#include "text/WideText.h"

#ifdef _WIN32
#include <windows.h>
#include <winhttp.h>
#endif

namespace gleaner {
namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::vector<std::string_view> splitAt(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> parts;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find_first_of(separators, pos), text.size());
    if (end > pos) parts.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

// A proxy entry as libcurl takes it: with a scheme, "http://" unless given.
std::string withScheme(std::string_view entry, std::string_view scheme) {
  if (entry.empty() || entry.find("://") != std::string_view::npos) return std::string(entry);
  return std::string(scheme) + "://" + std::string(entry);
}

// '*' stands for any run of characters, everything else for itself.
bool wildcardMatch(std::string_view pattern, std::string_view text) {
  std::size_t p = 0;
  std::size_t t = 0;
  std::size_t star = std::string_view::npos;
  std::size_t resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool isLoopback(std::string_view host) {
  return host == "localhost" || host.rfind("127.", 0) == 0 || host == "[::1]" || host == "::1";
}

#ifdef _WIN32
std::string utf8(const wchar_t* text) { return text == nullptr ? std::string() : wide::toUtf8(text); }
#endif

}  // namespace

SystemProxy::SystemProxy(std::string_view proxies, std::string_view bypass) {
  for (std::string_view entry : splitAt(proxies, "; \t\r\n")) {
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      all_ = std::string(entry);
      continue;
    }
    const std::string scheme = lower(entry.substr(0, equals));
    const std::string_view server = entry.substr(equals + 1);
    if (scheme == "http") http_ = withScheme(server, "http");
    if (scheme == "https") https_ = withScheme(server, "http");
    if (scheme == "socks") socks_ = withScheme(server, "socks4");
  }
  if (!all_.empty()) all_ = withScheme(all_, "http");
  for (std::string_view entry : splitAt(bypass, ";, \t\r\n")) {
    std::string pattern = lower(entry);
    // An entry may name a scheme ("http://*.example.com"); hosts are matched.
    if (const std::size_t slashes = pattern.find("://"); slashes != std::string::npos) pattern.erase(0, slashes + 3);
    if (!pattern.empty()) bypass_.push_back(std::move(pattern));
  }
}

bool SystemProxy::bypassed(std::string_view host) const {
  const std::string name = lower(host);
  if (isLoopback(name)) return true;
  return std::any_of(bypass_.begin(), bypass_.end(), [&](const std::string& pattern) {
    if (pattern == "<local>") return name.find('.') == std::string::npos && name.find(':') == std::string::npos;
    return wildcardMatch(pattern, name);
  });
}

std::string SystemProxy::proxyFor(std::string_view scheme, std::string_view host) const {
  if (bypassed(host)) return {};
  if (!all_.empty()) return all_;
  const std::string name = lower(scheme);
  if (name == "http" && !http_.empty()) return http_;
  if (name == "https" && !https_.empty()) return https_;
  return socks_;
}

std::optional<SystemProxy> SystemProxy::current() {
#ifdef _WIN32
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return std::nullopt;
  const std::string proxies = utf8(config.lpszProxy);
  const std::string bypass = utf8(config.lpszProxyBypass);
  for (LPWSTR text : {config.lpszProxy, config.lpszProxyBypass, config.lpszAutoConfigUrl}) {
    if (text != nullptr) GlobalFree(text);
  }
  if (proxies.empty()) return std::nullopt;
  return SystemProxy(proxies, bypass);
#else
  return std::nullopt;
#endif
}

std::optional<std::string> SystemProxy::forAddress(std::string_view address) {
  const std::optional<SystemProxy> proxy = current();
  if (!proxy) return std::nullopt;
  const auto url = UrlSplit::split(address);
  if (!url) return std::nullopt;
  return proxy->proxyFor(url->scheme(), url->server());
}

}  // namespace gleaner
