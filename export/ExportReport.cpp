#include "export/ExportReport.h"

#include <cstdio>

#include "res/AppTexts.h"

namespace gleaner {
namespace {

std::string format(const char* pattern, std::size_t value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

}  // namespace

std::string exportReport(const ExportResult& result, const std::string& target) {
  using Outcome = ExportResult::Outcome;
  switch (result.outcome) {
    case Outcome::Written: {
      std::string text = format(res::kExportDone, result.rows) + target;
      if (result.cutCells > 0) text += "\n" + format(res::kExportCut, result.cutCells);
      return text;
    }
    case Outcome::Nothing:
      return res::kExportNothing;
    case Outcome::Cancelled:
      return res::kExportCancelled;
    case Outcome::TooManyRows:
      return res::kExportTooManyRows;
    case Outcome::Failed:
      break;
  }
  std::string text = std::string(res::kExportFailed) + target + "\n" + res::kExportFailedAdvice;
  if (!result.error.empty()) text += "\n" + result.error;
  return text;
}

}  // namespace gleaner
