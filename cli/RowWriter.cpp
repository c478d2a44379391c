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
// quotes doubled. None of these is ever a GBK trail byte, so the test holds
// on either encoding.
bool needsQuotes(std::string_view text) { return text.find_first_of(",\"\r\n") != std::string_view::npos; }

void writeQuotedRun(std::ostream& out, std::string_view text) {
  for (std::size_t quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"')) {
    out.write(text.data(), static_cast<std::streamsize>(quote + 1));
    out.put('"');
    text.remove_prefix(quote + 1);
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// TSV cannot hold a tab or a line break in a cell: they are escaped, and so
// is the escape character. In GBK a two-byte character is copied whole: its
// trail byte may be 0x5C, which is no backslash there.
void writeTsvRun(std::ostream& out, std::string_view text, bool gbkText) {
  std::size_t plain = 0;  // the start of the run not yet written
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (gbkText && gbk::charLength(text, pos) == 2) {
      ++pos;
      continue;
    }
    const char* escape = nullptr;
    switch (text[pos]) {
      case '\t': escape = "\\t"; break;
      case '\n': escape = "\\n"; break;
      case '\r': escape = "\\r"; break;
      case '\\': escape = "\\\\"; break;
      default: continue;
    }
    out.write(text.data() + plain, static_cast<std::streamsize>(pos - plain));
    out << escape;
    plain = pos + 1;
  }
  out.write(text.data() + plain, static_cast<std::streamsize>(text.size() - plain));
}

// A UTF-8 cell is converted a piece at a time, so a long cell is never held
// twice more.
constexpr std::size_t kPieceBytes = 64 * 1024;

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

void RowWriter::writeCell(const std::string& collected) {
  const std::string shown = terminal_ ? gbk::printable(collected) : std::string();
  const std::string& text = terminal_ ? shown : collected;
  const bool quoted = !tsv_ && needsQuotes(text);
  const auto writeRun = [&](std::string_view run, bool gbkRun) {
    if (tsv_) {
      writeTsvRun(out_, run, gbkRun);
    } else if (quoted) {
      writeQuotedRun(out_, run);
    } else {
      out_.write(run.data(), static_cast<std::streamsize>(run.size()));
    }
  };
  if (quoted) out_.put('"');
  if (gbk_) {
    writeRun(text, true);
  } else {
    gbk::toUtf8InPieces(text, kPieceBytes, [&](std::string_view utf8) {
      writeRun(utf8, false);
      return true;
    });
  }
  if (quoted) out_.put('"');
}

void RowWriter::startFile() {
  if (!tsv_ && !gbk_) out_ << "\xEF\xBB\xBF";
}

void RowWriter::write(const ResultRow& row) {
  for (std::size_t i = 0; i < columns_; ++i) {
    if (i > 0) out_.put(tsv_ ? '\t' : ',');
    writeCell(row[i]);
  }
  out_ << (tsv_ ? "\n" : "\r\n");
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
