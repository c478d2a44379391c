#include "net/RedirectLocation.h"

#include <algorithm>
#include <cctype>

#include "net/UrlSplit.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

// Length of a scheme followed by ":" at the start of text, 0 when there is none.
std::size_t schemeLength(std::string_view text) {
  if (text.empty() || !std::isalpha(static_cast<unsigned char>(text.front()))) return 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == ':') return i;
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return 0;
  }
  return 0;
}

}  // namespace

bool isRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::optional<std::string> locationHeader(std::string_view rawHeaders) {
  while (!rawHeaders.empty()) {
    std::size_t end = rawHeaders.find('\n');
    if (end == std::string_view::npos) end = rawHeaders.size();
    std::string_view line = rawHeaders.substr(0, end);
    rawHeaders.remove_prefix(std::min(end + 1, rawHeaders.size()));
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    if (!equalsNoCase(line.substr(0, colon), "location")) continue;
    std::string value = gbk::trimWhite(line.substr(colon + 1));
    if (value.empty()) return std::nullopt;
    return value;
  }
  return std::nullopt;
}

std::string resolveReference(std::string_view base, std::string_view reference) {
  if (schemeLength(reference) != 0) return std::string(reference);
  const std::size_t scheme = schemeLength(base);
  const std::size_t authorityStart = base.find("//", scheme) == scheme + 1 ? scheme + 3 : scheme + 1;
  const std::size_t pathStart = std::min(base.find_first_of("/?#", authorityStart), base.size());
  const std::size_t queryStart = std::min(base.find_first_of("?#", pathStart), base.size());
  if (reference.starts_with("//")) return std::string(base.substr(0, scheme + 1)) + std::string(reference);
  if (reference.starts_with("/")) return std::string(base.substr(0, pathStart)) + std::string(reference);
  if (reference.empty() || reference.starts_with("?") || reference.starts_with("#")) {
    const std::size_t keep = reference.starts_with("#") ? std::min(base.find('#', pathStart), base.size()) : queryStart;
    return std::string(base.substr(0, keep)) + std::string(reference);
  }
  const std::string_view path = base.substr(pathStart, queryStart - pathStart);
  const std::size_t lastSlash = path.rfind('/');
  const std::string directory = lastSlash == std::string_view::npos ? "/" : std::string(path.substr(0, lastSlash + 1));
  return std::string(base.substr(0, pathStart)) + directory + std::string(reference);
}

RedirectStep judgeRedirect(std::string_view from, int status, std::string_view rawHeaders) {
  RedirectStep step;
  if (!isRedirectStatus(status)) return step;
  step.kind = RedirectStep::Kind::Fail;
  const auto location = locationHeader(rawHeaders);
  if (!location) {
    step.reason = std::string(from) + ": redirect without a location";
    return step;
  }
  const auto origin = UrlSplit::split(from);
  const std::string next = resolveReference(from, *location);
  const auto target = UrlSplit::split(next);
  if (!origin || !target || target->serviceType() == ServiceType::Other ||
      target->serviceType() != origin->serviceType()) {
    step.reason = "not an " + (origin ? origin->scheme() : std::string("http")) + " address: " + next;
    return step;
  }
  step.kind = RedirectStep::Kind::Follow;
  step.next = next;
  return step;
}

}  // namespace gleaner
