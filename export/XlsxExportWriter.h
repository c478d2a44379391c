// Writes an export as an Excel workbook (.xlsx): one sheet, the headings in
// bold, every cell a string, so nothing in it is ever taken for a formula or
// a number. The sheet is streamed (the library's constant-memory mode): memory
// stays flat however many rows go in. Column widths follow the longest cell.
#pragma once

#include <filesystem>
#include <vector>

#include "export/SheetWriter.h"

typedef struct lxw_workbook lxw_workbook;
typedef struct lxw_worksheet lxw_worksheet;
typedef struct lxw_format lxw_format;

namespace gleaner {

class XlsxExportWriter : public SheetWriter {
 public:
  // The most rows a worksheet holds, the heading row included.
  static constexpr std::size_t kMaxRows = 1048576;

  explicit XlsxExportWriter(const std::filesystem::path& path);  // throws ExportError
  ~XlsxExportWriter() override;

  // The first row written is the heading row.
  void writeRow(const std::vector<std::string>& cells) override;
  void finish() override;
  std::size_t cutCells() const override { return cutCells_; }

 private:
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* bold_ = nullptr;
  unsigned row_ = 0;
  std::vector<std::size_t> widths_;
  std::size_t cutCells_ = 0;
};

}  // namespace gleaner
