#include "export/XlsxExportWriter.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "export/ExportCell.h"
#include "export/ExportError.h"
#include "export/WorkbookCheck.h"
#include "text/PathText.h"

namespace gleaner {
namespace {

std::size_t utf8Chars(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void check(lxw_error error) {
  if (error != LXW_NO_ERROR) throw ExportError(lxw_strerror(error));
}

// The system's word for the last failed write, for the message's last line.
std::string writeFailure() {
  return errno != 0 ? std::strerror(errno) : "a write to the workbook's temporary file failed";
}

long long positionOf(std::FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return ftello(file);
#endif
}

}  // namespace

XlsxExportWriter::XlsxExportWriter(const std::filesystem::path& path)
    : path_(path), folder_(utf8Of(path.has_parent_path() ? path.parent_path() : std::filesystem::path("."))) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = folder_.data();
  workbook_ = workbook_new_opt(utf8Of(path).c_str(), &options);
  if (workbook_ == nullptr) throw ExportError("cannot start the workbook");
  sheet_ = workbook_add_worksheet(workbook_, nullptr);
  bold_ = workbook_add_format(workbook_);
  if (sheet_ == nullptr || bold_ == nullptr) throw ExportError("cannot start the worksheet");
  format_set_bold(bold_);
}

XlsxExportWriter::~XlsxExportWriter() {
  // An unfinished workbook is freed without writing the file; the library
  // leaves the rows' temporary file open, and with it its disk space.
  if (workbook_ == nullptr) return;
  if (sheet_ != nullptr && sheet_->optimize_tmpfile != nullptr) std::fclose(sheet_->optimize_tmpfile);
  lxw_workbook_free(workbook_);
}

void XlsxExportWriter::writeRow(const std::vector<ExportCell>& cells) {
  if (widths_.size() < cells.size()) widths_.resize(cells.size(), 8);
  for (std::size_t c = 0; c < cells.size(); ++c) {
    bool cut = false;
    const std::string text = cells[c].forWorkbook(cut);
    if (cut) ++cutCells_;
    widths_[c] = std::max(widths_[c], std::min<std::size_t>(utf8Chars(text) * 2, 60));
    check(worksheet_write_string(sheet_, row_, static_cast<lxw_col_t>(c), text.c_str(), row_ == 0 ? bold_ : nullptr));
  }
  // The row before this one has just gone to the temporary file.
  if (std::ferror(sheet_->file)) throw ExportError(writeFailure());
  ++row_;
}

unsigned long long XlsxExportWriter::rowBytesWritten() {
  errno = 0;
  lxw_worksheet_write_single_row(sheet_);  // the last row, which the library holds until the packing
  std::FILE* rows = sheet_->file;
  if (std::fflush(rows) != 0 || std::ferror(rows)) throw ExportError(writeFailure());
  const long long position = positionOf(rows);
  if (position < 0) throw ExportError(writeFailure());
  return static_cast<unsigned long long>(position);
}

void XlsxExportWriter::finish() {
  for (std::size_t c = 0; c < widths_.size(); ++c) {
    check(worksheet_set_column(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                               static_cast<double>(widths_[c]), nullptr));
  }
  const unsigned long long rowBytes = rowBytesWritten();
  lxw_workbook* workbook = workbook_;
  workbook_ = nullptr;
  check(workbook_close(workbook));  // packs the file and frees the workbook
  checkWorkbook(path_, rowBytes);
}

}  // namespace gleaner
