// The file an export goes to, from the name typed in the save dialog and the
// file type chosen there. A typed ".xlsx" or ".csv" (any case) decides the
// format, whatever type is chosen; any other name gets the chosen type's
// extension added, and that final name is the one to confirm when it exists.
#pragma once

#include <filesystem>
#include <string>

#include "export/ExportChoice.h"

namespace gleaner {

struct ExportTarget {
  std::filesystem::path path;
  ExportFormat format = ExportFormat::Xlsx;
  bool extensionAdded = false;  // path is not the name the user typed

  static ExportTarget resolve(const std::filesystem::path& typed, ExportFormat chosen);

  // A proposed file name (UTF-8) with the extension of format in place of a
  // ".xlsx" or ".csv" it ends with; other names stay as they are.
  static std::string switchExtension(const std::string& name, ExportFormat format);

  static const char* extensionOf(ExportFormat format) { return format == ExportFormat::Csv ? ".csv" : ".xlsx"; }
};

}  // namespace gleaner
