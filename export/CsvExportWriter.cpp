#include "export/CsvExportWriter.h"

#include <cerrno>
#include <cstring>

#include "export/ExportError.h"

namespace gleaner {

CsvExportWriter::CsvExportWriter(const std::filesystem::path& path) {
  out_.open(path, std::ios::binary | std::ios::trunc);
  if (!out_) throw ExportError(std::strerror(errno));
  out_ << "\xEF\xBB\xBF";
}

void CsvExportWriter::writeField(std::ostream& out, const ExportCell& cell) {
  const bool quoted = cell.holdsAnyOf(",\"\r\n");
  if (quoted) out << '"';
  if (cell.looksLikeFormula()) out << '\'';
  cell.read([&](std::string_view piece) {
    // Inside quotes, a quote is doubled.
    std::size_t quote = quoted ? piece.find('"') : std::string_view::npos;
    for (; quote != std::string_view::npos; quote = piece.find('"')) {
      out.write(piece.data(), static_cast<std::streamsize>(quote + 1)) << '"';
      piece.remove_prefix(quote + 1);
    }
    out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    return static_cast<bool>(out);
  });
  if (quoted) out << '"';
}

void CsvExportWriter::writeRow(const std::vector<ExportCell>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out_ << ',';
    writeField(out_, cells[i]);
  }
  out_ << "\r\n";
  if (!out_) throw ExportError(std::strerror(errno));
}

void CsvExportWriter::finish() {
  out_.close();
  if (!out_) throw ExportError(std::strerror(errno));
}

}  // namespace gleaner
