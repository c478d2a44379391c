#include "export/ExportCell.h"

namespace gleaner {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kEscapedUnderscore = "_x005F";

// Length of the well-formed UTF-8 sequence at s[i], 0 when malformed.
std::size_t sequenceLength(std::string_view s, std::size_t i, char32_t& code) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  std::size_t length;
  char32_t min;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

bool workbookCannotHold(char32_t code) {
  if (code < 0x20) return code != '\t' && code != '\n' && code != '\r';
  return code == 0xFFFE || code == 0xFFFF;
}

bool isTrimmed(char c) { return c == '\t' || c == '\r' || c == '\n'; }

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// "_xHHHH_" at s[i]: what a workbook reader turns into one character.
bool startsEscape(std::string_view s, std::size_t i) {
  if (i + 7 > s.size() || s[i] != '_' || (s[i + 1] != 'x' && s[i + 1] != 'X') || s[i + 6] != '_') return false;
  for (std::size_t k = i + 2; k < i + 6; ++k) {
    if (!isHex(s[k])) return false;
  }
  return true;
}

}  // namespace

std::string ExportCell::clean(std::string_view utf8) {
  std::string kept;
  kept.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t code = 0;
    const std::size_t length = sequenceLength(utf8, i, code);
    if (length == 0) {
      kept += kReplacement;
      ++i;
      continue;
    }
    if (!workbookCannotHold(code)) kept.append(utf8.substr(i, length));
    i += length;
  }
  std::size_t begin = 0;
  std::size_t end = kept.size();
  while (begin < end && isTrimmed(kept[begin])) ++begin;
  while (end > begin && isTrimmed(kept[end - 1])) --end;
  return kept.substr(begin, end - begin);
}

bool ExportCell::looksLikeFormula(std::string_view cell) {
  if (cell.empty()) return false;
  const char first = cell.front();
  return first == '=' || first == '+' || first == '-' || first == '@';
}

std::string ExportCell::forWorkbook(std::string_view utf8, bool& cut) {
  cut = false;
  std::string out;
  out.reserve(utf8.size());
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    // The escape and the underscore it stands for count as one unit: both
    // or neither.
    const std::size_t extra = startsEscape(utf8, i) ? kEscapedUnderscore.size() : 0;
    char32_t code = 0;
    std::size_t length = sequenceLength(utf8, i, code);
    if (length == 0) length = 1;  // clean() has replaced these already
    if (chars + extra + 1 > kMaxWorkbookChars) {
      cut = true;
      break;
    }
    if (extra > 0) out += kEscapedUnderscore;
    out.append(utf8.substr(i, length));
    chars += extra + 1;
    i += length;
  }
  return out;
}

}  // namespace gleaner
