// Writes result rows as CSV (RFC 4180) or TSV, in UTF-8 or the list's own
// GBK bytes. Cells are written exactly as the list holds them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "extract/ExtractorWindow.h"

namespace gleaner::cli {

class RowWriter {
 public:
  RowWriter(std::ostream& out, bool tsv, bool gbk) : out_(out), tsv_(tsv), gbk_(gbk) {}

  void write(const ResultRow& row);

 private:
  std::string cell(const std::string& gbkText) const;

  std::ostream& out_;
  bool tsv_;
  bool gbk_;
};

}  // namespace gleaner::cli
