#include "app/XlsxExportWriter.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <string>

#include "text/PathText.h"

namespace gleaner {
namespace {

std::size_t utf8Chars(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// At most kMaxCellChars characters, cut on a character boundary.
std::string fitCell(const std::string& cell) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    if ((static_cast<unsigned char>(cell[i]) & 0xC0) != 0x80 && ++chars > XlsxExportWriter::kMaxCellChars) {
      return cell.substr(0, i);
    }
  }
  return cell;
}

}  // namespace

ExportResult XlsxExportWriter::write(const ExportTable& table, const std::filesystem::path& path) {
  lxw_workbook* workbook = workbook_new(utf8FromPath(path).c_str());  // the library opens UTF-8 names
  if (workbook == nullptr) return {false, "cannot start the workbook"};
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
  lxw_format* bold = workbook_add_format(workbook);
  format_set_bold(bold);

  lxw_error firstError = LXW_NO_ERROR;
  const auto keep = [&](lxw_error error) {
    if (firstError == LXW_NO_ERROR) firstError = error;
  };
  std::vector<std::size_t> widths(table.headings().size(), 8);
  const auto writeRow = [&](lxw_row_t row, const std::vector<std::string>& cells, lxw_format* format) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const std::string cell = fitCell(cells[c]);
      if (c < widths.size()) widths[c] = std::max(widths[c], std::min<std::size_t>(utf8Chars(cell) * 2, 60));
      keep(worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c), cell.c_str(), format));
    }
  };
  writeRow(0, table.headings(), bold);
  lxw_row_t row = 1;
  for (const auto& cells : table.rows()) writeRow(row++, cells, nullptr);
  for (std::size_t c = 0; c < widths.size(); ++c) {
    worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                         static_cast<double>(widths[c]), nullptr);
  }

  const lxw_error closeError = workbook_close(workbook);  // frees the workbook
  if (firstError == LXW_NO_ERROR) firstError = closeError;
  if (firstError != LXW_NO_ERROR) return {false, lxw_strerror(firstError)};
  return {true, {}};
}

}  // namespace gleaner
