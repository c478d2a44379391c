#include "export/ExportTarget.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "text/PathText.h"

namespace gleaner {
namespace {

std::optional<ExportFormat> formatOfName(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto endsWith = [&](const std::string& tail) {
    return lower.size() > tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (endsWith(".xlsx")) return ExportFormat::Xlsx;
  if (endsWith(".csv")) return ExportFormat::Csv;
  return std::nullopt;
}

}  // namespace

ExportTarget ExportTarget::resolve(const std::filesystem::path& typed, ExportFormat chosen) {
  ExportTarget target;
  if (const auto format = formatOfName(utf8Of(typed.filename()))) {
    target.path = typed;
    target.format = *format;
    return target;
  }
  target.path = typed;
  target.path += extensionOf(chosen);
  target.format = chosen;
  target.extensionAdded = true;
  return target;
}

std::string ExportTarget::switchExtension(const std::string& name, ExportFormat format) {
  const auto current = formatOfName(name);
  if (!current) return name;
  const std::size_t cut = name.size() - std::string(extensionOf(*current)).size();
  return name.substr(0, cut) + extensionOf(format);
}

}  // namespace gleaner
