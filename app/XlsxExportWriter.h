// Writes an export table as an Excel workbook (.xlsx): one sheet, the
// headings in bold, every cell written as a string, so nothing in it is
// ever taken for a formula or a number.
#pragma once

#include <filesystem>

#include "app/ExportResult.h"
#include "app/ExportTable.h"

namespace gleaner {

class XlsxExportWriter {
 public:
  // The most characters a workbook cell holds; longer cells are cut.
  static constexpr std::size_t kMaxCellChars = 32767;

  static ExportResult write(const ExportTable& table, const std::filesystem::path& path);
};

}  // namespace gleaner
