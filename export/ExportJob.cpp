#include "export/ExportJob.h"

#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "export/CsvExportWriter.h"
#include "export/ExportError.h"
#include "export/ExportSelection.h"
#include "export/ExportSource.h"
#include "export/XlsxExportWriter.h"

namespace gleaner {
namespace {

void removeQuietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

std::unique_ptr<SheetWriter> openWriter(ExportFormat format, const std::filesystem::path& path) {
  if (format == ExportFormat::Csv) return std::make_unique<CsvExportWriter>(path);
  return std::make_unique<XlsxExportWriter>(path);
}

}  // namespace

std::filesystem::path ExportJob::temporaryPath(const std::filesystem::path& target) {
  std::filesystem::path partial = target;
  partial += ".part";
  std::error_code error;
  for (int n = 1; std::filesystem::exists(partial, error) && n < 1000; ++n) {
    partial = target;
    partial += "." + std::to_string(n) + ".part";
  }
  return partial;
}

ExportResult ExportJob::run(ExportSource& source, const ExportRequest& request, const Progress& progress) {
  ExportResult result;
  const std::size_t total = source.rowCount();
  if (total == 0) {
    result.outcome = ExportResult::Outcome::Nothing;
    return result;
  }
  const std::filesystem::path partial = temporaryPath(request.target);
  try {
    std::unique_ptr<SheetWriter> writer = openWriter(request.format, partial);
    ExportSelection selection(source.job(), source.headings(), request.choice, source.columns());
    writer->writeRow(selection.headings());
    std::vector<ResultRow> rows;
    std::vector<ExportCell> cells;
    std::size_t done = 0;
    while (source.next(kChunk, rows)) {
      for (const ResultRow& row : rows) {
        if (!selection.take(row, cells)) continue;
        if (request.format == ExportFormat::Xlsx && result.rows + 1 >= XlsxExportWriter::kMaxRows) {
          writer.reset();
          removeQuietly(partial);
          result.outcome = ExportResult::Outcome::TooManyRows;
          return result;
        }
        writer->writeRow(cells);
        ++result.rows;
      }
      done += rows.size();
      if (progress && !progress(done, total)) {
        writer.reset();
        removeQuietly(partial);
        result.outcome = ExportResult::Outcome::Cancelled;
        return result;
      }
    }
    writer->finish();
    result.cutCells = writer->cutCells();
  } catch (const ExportError& e) {
    removeQuietly(partial);
    result.outcome = ExportResult::Outcome::Failed;
    result.error = e.what();
    return result;
  }
  std::error_code error;
  std::filesystem::rename(partial, request.target, error);
  if (error) {
    removeQuietly(partial);
    result.outcome = ExportResult::Outcome::Failed;
    result.error = error.message();
    return result;
  }
  result.outcome = ExportResult::Outcome::Written;
  return result;
}

}  // namespace gleaner
