// One export: the list's rows, selected and cleaned by the export rules,
// streamed into a temporary file beside the target, which is renamed over
// the target only when the file is complete. A failed or cancelled export
// therefore never leaves a partial file, and an existing target stays as it
// was.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>

#include "export/ExportChoice.h"
#include "export/ExportResult.h"

namespace gleaner {

class ExportSource;

struct ExportRequest {
  ExportChoice choice = ExportChoice::Everything;
  ExportFormat format = ExportFormat::Xlsx;
  std::filesystem::path target;
};

class ExportJob {
 public:
  // Told of the rows read so far out of total, every few thousand rows;
  // returning false cancels the export.
  using Progress = std::function<bool(std::size_t done, std::size_t total)>;

  static ExportResult run(ExportSource& source, const ExportRequest& request, const Progress& progress = {});

  // The temporary file of an export to target: in the same folder, so that
  // the final rename never crosses file systems.
  static std::filesystem::path temporaryPath(const std::filesystem::path& target);

  static constexpr std::size_t kChunk = 2000;
};

}  // namespace gleaner
