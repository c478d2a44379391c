#include "export/CsvExportWriter.h"

#include <cerrno>
#include <cstring>

#include "export/ExportCell.h"
#include "export/ExportError.h"

namespace gleaner {

CsvExportWriter::CsvExportWriter(const std::filesystem::path& path) {
  out_.open(path, std::ios::binary | std::ios::trunc);
  if (!out_) throw ExportError(std::strerror(errno));
  out_ << "\xEF\xBB\xBF";
}

std::string CsvExportWriter::field(const std::string& cell) {
  std::string text = ExportCell::looksLikeFormula(cell) ? "'" + cell : cell;
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

void CsvExportWriter::writeRow(const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out_ << ',';
    out_ << field(cells[i]);
  }
  out_ << "\r\n";
  if (!out_) throw ExportError(std::strerror(errno));
}

void CsvExportWriter::finish() {
  out_.close();
  if (!out_) throw ExportError(std::strerror(errno));
}

}  // namespace gleaner
