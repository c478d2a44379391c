// Writes result rows as CSV (RFC 4180) or TSV, in UTF-8 or the list's own
// GBK bytes. Cells are written exactly as the list holds them. As a row sink
// it writes and flushes each row as it comes, so that a kill leaves every row
// found so far in the output.
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
  RowWriter(std::ostream& out, bool tsv, bool gbk) : out_(out), tsv_(tsv), gbk_(gbk) {}

  void write(const ResultRow& row);

  // --- RowSink ---
  void append(const ResultRow& row) noexcept override;
  bool failed() const override { return failed_.load(); }

 private:
  std::string cell(const std::string& gbkText) const;

  std::ostream& out_;
  bool tsv_;
  bool gbk_;
  std::atomic<bool> failed_{false};
};

}  // namespace gleaner::cli
