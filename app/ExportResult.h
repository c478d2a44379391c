// The outcome of writing an export file.
#pragma once

#include <string>

namespace gleaner {

struct ExportResult {
  bool ok = false;
  std::string error;  // UTF-8, why the file could not be written
};

}  // namespace gleaner
