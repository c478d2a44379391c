#include "text/ListText.h"

#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner::gbk {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kFullWidthSpace = "\xA1\xA1";  // GBK

// A GBK line less white space and full-width spaces at both ends.
std::string trimmed(std::string_view line) {
  std::string text = trimWhite(line);
  for (bool cut = true; cut;) {
    cut = false;
    if (text.starts_with(kFullWidthSpace)) {
      text = trimWhite(std::string_view(text).substr(kFullWidthSpace.size()));
      cut = true;
    }
    // The last character, not a trail byte that looks like one.
    if (text.size() >= 2 && text.ends_with(kFullWidthSpace) && charLength(text, text.size() - 2) == 2 &&
        find(text, kFullWidthSpace, text.size() - 2) == text.size() - 2) {
      text = trimWhite(std::string_view(text).substr(0, text.size() - kFullWidthSpace.size()));
      cut = true;
    }
  }
  return text;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x06 ? 2 : (lead >> 4) == 0x0E ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

std::vector<std::string> listEntries(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  const std::string text = isValidUtf8(bytes) ? fromUtf8(bytes) : std::string(bytes);
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start <= text.size()) {
    // A line feed is never part of a GBK character.
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string entry = trimmed(std::string_view(text).substr(start, end - start));
    if (!entry.empty() && entry.front() != '#') entries.push_back(entry);
    start = end + 1;
  }
  return entries;
}

}  // namespace gleaner::gbk
