#include "app/ExportTable.h"

#include <set>
#include <utility>

namespace gleaner {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

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

}  // namespace

std::string ExportTable::cleanCell(std::string_view utf8) {
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

bool ExportTable::looksLikeFormula(std::string_view cell) {
  if (cell.empty()) return false;
  const char first = cell.front();
  return first == '=' || first == '+' || first == '-' || first == '@';
}

ExportTable ExportTable::fromList(CollectionMode mode, const ListRow& headings, const std::vector<ListRow>& rows,
                                  ExportChoice choice) {
  std::vector<std::size_t> columns{0, 1, 2, 3};
  if (choice == ExportChoice::Sellers) {
    columns = {1, 2};
    if (mode == CollectionMode::SellerSearch) columns.push_back(3);
  }
  ExportTable table;
  for (std::size_t c : columns) table.headings_.push_back(cleanCell(headings[c]));

  std::set<std::pair<std::string, std::string>> seen;
  for (const ListRow& row : rows) {
    std::vector<std::string> cells;
    for (std::size_t c : columns) cells.push_back(cleanCell(row[c]));
    if (choice == ExportChoice::Sellers && !seen.emplace(cells[0], cells[1]).second) continue;
    table.rows_.push_back(std::move(cells));
  }
  return table;
}

}  // namespace gleaner
