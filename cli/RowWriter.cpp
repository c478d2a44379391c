#include "cli/RowWriter.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner::cli {

namespace {

// RFC 4180: a cell holding a comma, a quote or a line break is quoted, its
// quotes doubled.
std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

// TSV cannot hold a tab or a line break in a cell: they are escaped, and so
// is the escape character. In GBK a two-byte character is copied whole: its
// trail byte may be 0x5C, which is no backslash there.
std::string tsvCell(const std::string& text, bool gbkText) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (gbkText && gbk::charLength(text, pos) == 2) {
      out.append(text, pos, 2);
      ++pos;
      continue;
    }
    const char c = text[pos];
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

bool RowWriter::standardOutputIsTerminal() {
#ifdef _WIN32
  DWORD mode = 0;
  const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
#else
  return isatty(STDOUT_FILENO) == 1;
#endif
}

std::string RowWriter::cell(const std::string& collected) const {
  const std::string gbkText = terminal_ ? gbk::printable(collected) : collected;
  // Commas, quotes and line breaks are never GBK trail bytes, so CSV quoting
  // is safe on either encoding.
  if (!gbk_) {
    const std::string utf8 = gbk::toUtf8(gbkText);
    return tsv_ ? tsvCell(utf8, false) : csvCell(utf8);
  }
  return tsv_ ? tsvCell(gbkText, true) : csvCell(gbkText);
}

void RowWriter::startFile() {
  if (!tsv_ && !gbk_) out_ << "\xEF\xBB\xBF";
}

void RowWriter::write(const ResultRow& row) {
  std::string line;
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (i > 0) line += tsv_ ? '\t' : ',';
    line += cell(row[i]);
  }
  line += tsv_ ? "\n" : "\r\n";
  out_ << line;
}

void RowWriter::append(const ResultRow& row) noexcept {
  try {
    write(row);
    out_.flush();
    if (!out_) failed_ = true;
  } catch (...) {
    failed_ = true;
  }
}

}  // namespace gleaner::cli
