// Writes an export as an Excel workbook (.xlsx): one sheet, the headings in
// bold, every cell a string, so nothing in it is ever taken for a formula or
// a number. The sheet is streamed (the library's constant-memory mode): memory
// stays flat however many rows go in. Column widths follow the longest cell.
//
// The library keeps the sheet's rows in a temporary file until finish()
// packs the workbook, and checks none of its writes to its temporary files.
// Those files go beside the workbook, on the disk it is written to; the rows'
// file is checked after every row and before the packing, and the packed
// workbook is read back (checkWorkbook), so a full disk or a file size limit
// fails the export instead of leaving a workbook cut short.
#pragma once

#include <filesystem>
#include <string>
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
  void writeRow(const std::vector<ExportCell>& cells) override;
  void finish() override;
  std::size_t cutCells() const override { return cutCells_; }

 private:
  // The bytes of rows in the sheet's temporary file so far, all of them
  // written out; throws ExportError when a write to it has failed.
  unsigned long long rowBytesWritten();

  std::filesystem::path path_;
  std::string folder_;  // where the library's temporary files go (UTF-8)
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* bold_ = nullptr;
  unsigned row_ = 0;
  std::vector<std::size_t> widths_;
  std::size_t cutCells_ = 0;
};

}  // namespace gleaner
