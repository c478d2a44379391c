#include "app/CsvExportWriter.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace gleaner {
namespace {

void writeLine(std::ofstream& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out << ',';
    out << CsvExportWriter::field(cells[i]);
  }
  out << "\r\n";
}

}  // namespace

std::string CsvExportWriter::field(const std::string& cell) {
  std::string text = ExportTable::looksLikeFormula(cell) ? "'" + cell : cell;
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

ExportResult CsvExportWriter::write(const ExportTable& table, const std::filesystem::path& path) {
  std::filesystem::path partial = path;
  partial += ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return {false, std::strerror(errno)};
    out << "\xEF\xBB\xBF";
    writeLine(out, table.headings());
    for (const auto& row : table.rows()) writeLine(out, row);
    out.close();
    if (!out) {
      const std::string reason = std::strerror(errno);
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      return {false, reason};
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return {false, error.message()};
  }
  return {true, {}};
}

}  // namespace gleaner
