#include "text/GbkText.h"

#include <algorithm>
#include <limits>

namespace gleaner::gbk {

std::size_t charLength(std::string_view text, std::size_t pos) {
  if (pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos])) &&
      isTrailByte(static_cast<unsigned char>(text[pos + 1]))) {
    return 2;
  }
  return 1;
}

namespace {

// A match must also end on a character boundary: "ab\x83" is not found in
// "ab\x83\x7C", whose last character is one two-byte character.
bool endsOnBoundary(std::string_view text, std::size_t pos, std::size_t length) {
  std::size_t end = pos;
  while (end < pos + length) end += charLength(text, end);
  return end == pos + length;
}

}  // namespace

std::size_t find(std::string_view text, std::string_view what, std::size_t from) {
  if (what.empty() || what.size() > text.size()) return npos;
  const std::size_t last = text.size() - what.size();
  for (std::size_t pos = from; pos <= last; pos += charLength(text, pos)) {
    if (text.compare(pos, what.size(), what) == 0 && endsOnBoundary(text, pos, what.size())) return pos;
  }
  return npos;
}

bool contains(std::string_view text, std::string_view what) { return find(text, what) != npos; }

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t hit = find(text, what); hit != npos; hit = find(text, what, done)) {
    out.append(text, done, hit - done);
    out.append(with);
    done = hit + what.size();
  }
  out.append(text, done);
  return out;
}

std::string removeAll(std::string_view text, std::string_view what) { return replaceAll(text, what, {}); }

void eraseAll(std::string& text, std::string_view what) {
  if (what.empty()) return;
  std::size_t hit = find(text, what);
  if (hit == npos) return;
  // Bytes move only towards the front, so the search always reads text not
  // yet moved, and finds what a search of the untouched text would.
  std::size_t write = hit;
  std::size_t read = hit + what.size();
  for (;;) {
    hit = find(text, what, read);
    const std::size_t end = hit == npos ? text.size() : hit;
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(read), text.begin() + static_cast<std::ptrdiff_t>(end),
              text.begin() + static_cast<std::ptrdiff_t>(write));
    write += end - read;
    if (hit == npos) break;
    read = hit + what.size();
  }
  text.resize(write);
}

std::string before(std::string_view text, std::string_view marker) {
  const std::size_t hit = find(text, marker);
  return hit == npos ? std::string() : std::string(text.substr(0, hit));
}

std::string after(std::string_view text, std::string_view marker) {
  const std::size_t hit = find(text, marker);
  return hit == npos ? std::string(text) : std::string(text.substr(hit + marker.size()));
}

std::string fromMarker(std::string_view text, std::string_view marker) {
  const std::size_t hit = find(text, marker);
  return hit == npos ? std::string(text) : std::string(text.substr(hit));
}

bool isWhite(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string trimWhite(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isWhite(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && isWhite(static_cast<unsigned char>(text[end - 1]))) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string trimTyped(std::string_view text) {
  constexpr std::string_view kFullWidthSpace = "\xA1\xA1";
  std::size_t begin = text.size();
  std::size_t end = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t n = charLength(text, pos);
    const std::string_view ch = text.substr(pos, n);
    const bool blank = (n == 1 && isWhite(static_cast<unsigned char>(ch[0]))) || ch == kFullWidthSpace;
    if (!blank) {
      begin = std::min(begin, pos);
      end = pos + n;
    }
    pos += n;
  }
  return begin < end ? std::string(text.substr(begin, end - begin)) : std::string();
}

std::int32_t decimalToInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && isWhite(static_cast<unsigned char>(text[pos]))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    if (value < limit) value = value * 10 + (text[pos] - '0');
  }
  if (value > limit) value = limit;
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(value == limit ? limit - 1 : value);
}

std::string printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && c != '\r' && c != '\n') || b == 0x7F) c = '?';
  }
  return out;
}

}  // namespace gleaner::gbk
