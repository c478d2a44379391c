// Writes an export as CSV: UTF-8 with a byte-order mark (so that a
// spreadsheet shows Chinese), CRLF line ends, RFC 4180 quoting. A cell that
// a spreadsheet would take for a formula gets a leading apostrophe. Cells are
// kept whole, however long.
#pragma once

#include <filesystem>
#include <fstream>
#include <ostream>

#include "export/SheetWriter.h"

namespace gleaner {

class CsvExportWriter : public SheetWriter {
 public:
  explicit CsvExportWriter(const std::filesystem::path& path);  // throws ExportError

  void writeRow(const std::vector<ExportCell>& cells) override;
  void finish() override;

  // Writes one cell as it stands in the file, a piece at a time.
  static void writeField(std::ostream& out, const ExportCell& cell);

 private:
  std::ofstream out_;
};

}  // namespace gleaner
