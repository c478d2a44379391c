#include "export/ExportCell.h"

#include <algorithm>
#include <iterator>

#include "text/GbkConvert.h"

namespace gleaner {
namespace {

// GBK bytes converted at a time.
constexpr std::size_t kPieceBytes = 64 * 1024;

constexpr std::string_view kEscapedUnderscore = "_x005F";

// A control character a workbook cannot hold. In UTF-8, as in GBK, each is a
// byte of its own.
bool isDropped(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b < 0x20 && c != '\t' && c != '\r' && c != '\n';
}

bool staysAtAnEnd(char c) { return static_cast<unsigned char>(c) >= 0x20; }

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// "_xHHHH_" at s[i]: what a workbook reader turns into one character.
bool startsEscape(std::string_view s, std::size_t i) {
  if (i + 7 > s.size() || s[i] != '_' || (s[i + 1] != 'x' && s[i + 1] != 'X') || s[i + 6] != '_') return false;
  for (std::size_t k = i + 2; k < i + 6; ++k) {
    if (!isHex(s[k])) return false;
  }
  return true;
}

// Bytes of the UTF-8 character whose lead byte is b (the text is the
// converter's, so well formed).
std::size_t utf8Length(unsigned char b) { return b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4; }

// The escaping and the cut of forWorkbook, on the start of the text: at
// least the whole text or kMaxWorkbookChars characters and an escape more.
std::string workbookText(std::string_view utf8, bool& cut) {
  cut = false;
  std::string out;
  out.reserve(utf8.size());
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    // The escape and the underscore it stands for count as one unit: both
    // or neither.
    const std::size_t extra = startsEscape(utf8, i) ? kEscapedUnderscore.size() : 0;
    const std::size_t length = std::min(utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    if (chars + extra + 1 > ExportCell::kMaxWorkbookChars) {
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

}  // namespace

// A byte below 0x20 is never part of a two-byte GBK character (see
// gbk::isTrailByte), so it is a control character of its own. Before the
// first byte from 0x20 up and after the last there are only such characters,
// each dropped or trimmed; between them only the dropped ones go.
ExportCell::ExportCell(std::string_view gbk) {
  const auto first = std::find_if(gbk.begin(), gbk.end(), staysAtAnEnd);
  if (first == gbk.end()) return;
  const auto last = std::find_if(gbk.rbegin(), gbk.rend(), staysAtAnEnd).base();
  kept_ = gbk.substr(static_cast<std::size_t>(first - gbk.begin()), static_cast<std::size_t>(last - first));
}

bool ExportCell::looksLikeFormula() const {
  // The first byte kept starts a character: only single-byte characters
  // come before it.
  return !kept_.empty() && std::string_view("=+-@").find(kept_.front()) != std::string_view::npos;
}

bool ExportCell::holdsAnyOf(std::string_view marks) const {
  // Bytes below '@' are never part of a two-byte character either.
  return kept_.find_first_of(marks) != std::string_view::npos;
}

void ExportCell::read(const std::function<bool(std::string_view utf8)>& take) const {
  gbk::toUtf8InPieces(kept_, kPieceBytes, [&](std::string_view utf8) {
    if (std::none_of(utf8.begin(), utf8.end(), isDropped)) return take(utf8);
    std::string piece;
    piece.reserve(utf8.size());
    std::copy_if(utf8.begin(), utf8.end(), std::back_inserter(piece), [](char c) { return !isDropped(c); });
    return piece.empty() || take(piece);
  });
}

std::string ExportCell::text() const {
  std::string text;
  text.reserve(kept_.size());
  read([&](std::string_view piece) {
    text.append(piece);
    return true;
  });
  return text;
}

std::string ExportCell::forWorkbook(bool& cut) const {
  // The most characters a cell holds, at most four bytes each, and an escape
  // that starts at the last of them.
  constexpr std::size_t kEnough = kMaxWorkbookChars * 4 + 7;
  std::string start;
  read([&](std::string_view piece) {
    start.append(piece);
    return start.size() < kEnough;
  });
  return workbookText(start, cut);
}

}  // namespace gleaner
