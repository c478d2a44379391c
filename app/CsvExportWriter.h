// Writes an export table as CSV: UTF-8 with a byte-order mark (so that a
// spreadsheet shows Chinese), CRLF line ends, RFC 4180 quoting. A cell that
// a spreadsheet would take for a formula gets a leading apostrophe.
//
// The file is written beside its destination and moved over it only when
// complete, so a failed export leaves an existing file as it was.
#pragma once

#include <filesystem>
#include <string>

#include "app/ExportResult.h"
#include "app/ExportTable.h"

namespace gleaner {

class CsvExportWriter {
 public:
  static ExportResult write(const ExportTable& table, const std::filesystem::path& path);

  // One cell as it stands in the file.
  static std::string field(const std::string& cell);
};

}  // namespace gleaner
