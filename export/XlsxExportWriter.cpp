#include "export/XlsxExportWriter.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <string>

#include "export/ExportCell.h"
#include "export/ExportError.h"
#include "text/PathText.h"

namespace gleaner {
namespace {

std::size_t utf8Chars(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

XlsxExportWriter::XlsxExportWriter(const std::filesystem::path& path) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  workbook_ = workbook_new_opt(utf8Of(path).c_str(), &options);
  if (workbook_ == nullptr) throw ExportError("cannot start the workbook");
  sheet_ = workbook_add_worksheet(workbook_, nullptr);
  bold_ = workbook_add_format(workbook_);
  if (sheet_ == nullptr || bold_ == nullptr) throw ExportError("cannot start the worksheet");
  format_set_bold(bold_);
}

XlsxExportWriter::~XlsxExportWriter() {
  // An unfinished workbook is freed without writing the file.
  if (workbook_ != nullptr) lxw_workbook_free(workbook_);
}

void XlsxExportWriter::writeRow(const std::vector<std::string>& cells) {
  if (widths_.size() < cells.size()) widths_.resize(cells.size(), 8);
  for (std::size_t c = 0; c < cells.size(); ++c) {
    bool cut = false;
    const std::string cell = ExportCell::forWorkbook(cells[c], cut);
    if (cut) ++cutCells_;
    widths_[c] = std::max(widths_[c], std::min<std::size_t>(utf8Chars(cells[c]) * 2, 60));
    const lxw_error error = worksheet_write_string(sheet_, row_, static_cast<lxw_col_t>(c), cell.c_str(),
                                                   row_ == 0 ? bold_ : nullptr);
    if (error != LXW_NO_ERROR) throw ExportError(lxw_strerror(error));
  }
  ++row_;
}

void XlsxExportWriter::finish() {
  for (std::size_t c = 0; c < widths_.size(); ++c) {
    worksheet_set_column(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                         static_cast<double>(widths_[c]), nullptr);
  }
  lxw_workbook* workbook = workbook_;
  workbook_ = nullptr;
  const lxw_error error = workbook_close(workbook);  // writes the file and frees the workbook
  if (error != LXW_NO_ERROR) throw ExportError(lxw_strerror(error));
}

}  // namespace gleaner
