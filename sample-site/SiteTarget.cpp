#include "sample-site/SiteTarget.h"

#include <limits>

namespace gleaner::sample {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isSeparator(char c) { return c == '?' || c == '&' || c == '#'; }

}  // namespace

SiteTarget::SiteTarget(std::string_view raw) {
  const std::size_t end = raw.find_first_of("?#");
  path_ = std::string(raw.substr(0, end));
  if (end != std::string_view::npos) pairs_ = std::string(raw.substr(end));
}

std::optional<std::string> SiteTarget::firstValue(std::string_view key) const { return valueOf(key, true); }

std::optional<std::string> SiteTarget::lastValue(std::string_view key) const { return valueOf(key, false); }

std::optional<std::string> SiteTarget::valueOf(std::string_view key, bool first) const {
  std::optional<std::string> found;
  // pairs_ starts with a separator; each pair runs to the next one.
  std::size_t pos = 0;
  while (pos < pairs_.size()) {
    std::size_t next = pos + 1;
    while (next < pairs_.size() && !isSeparator(pairs_[next])) ++next;
    const std::string_view pair = std::string_view(pairs_).substr(pos + 1, next - pos - 1);
    if (pair.size() > key.size() && pair.substr(0, key.size()) == key && pair[key.size()] == '=') {
      found = percentDecoded(pair.substr(key.size() + 1));
    } else if (pair == key) {
      found = std::string();
    }
    if (found && first) return found;
    pos = next;
  }
  return found;
}

long long SiteTarget::number(const std::optional<std::string>& value, long long fallback) {
  if (!value || value->empty() || (*value)[0] < '0' || (*value)[0] > '9') return fallback;
  long long result = 0;
  for (char c : *value) {
    if (c < '0' || c > '9') break;
    if (result > (std::numeric_limits<long long>::max() - 9) / 10) return fallback;
    result = result * 10 + (c - '0');
  }
  return result;
}

std::string SiteTarget::percentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace gleaner::sample
