// Writes result rows as CSV (RFC 4180) or TSV, in UTF-8 or the list's own
// GBK bytes. Cells are written exactly as the list holds them, except on a
// terminal: there a control character of a cell (ESC, BEL, NUL) would drive
// the terminal, and is shown as the status lines show it (gbk::printable).
// As a row sink it writes and flushes each row as it comes, so that a kill
// leaves every row found so far in the output.
#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

#include "cli/RowSink.h"
#include "text/ResultRow.h"

namespace gleaner::cli {

class RowWriter : public RowSink {
 public:
  // terminal: out is a terminal (standardOutputIsTerminal()).
  RowWriter(std::ostream& out, bool tsv, bool gbk, bool terminal = false)
      : out_(out), tsv_(tsv), gbk_(gbk), terminal_(terminal) {}

  // True when standard output is a terminal (on Windows, a console window)
  // rather than a file or a pipe.
  static bool standardOutputIsTerminal();

  // The list's columns: four, or five with the keyword of a batch.
  void setColumns(std::size_t columns) { columns_ = columns; }
  // The start of a file (not of standard output): UTF-8 CSV begins with a
  // byte-order mark, as the window's CSV export does, so that a spreadsheet
  // on a Chinese Windows reads the UTF-8 as such and not as GBK. TSV and GBK
  // begin with their first row.
  void startFile();

  void write(const ResultRow& row);

  // --- RowSink ---
  void append(const ResultRow& row) noexcept override;
  bool failed() const override { return failed_.load(); }

 private:
  void writeCell(const std::string& collected);

  std::ostream& out_;
  bool tsv_;
  bool gbk_;
  bool terminal_;
  std::size_t columns_ = kJobColumns;
  std::atomic<bool> failed_{false};
};

}  // namespace gleaner::cli
