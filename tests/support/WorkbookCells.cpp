#include "support/WorkbookCells.h"

#include <utility>
#include <vector>

#include "support/ZipEntries.h"

namespace gleaner::testing {
namespace {

std::string decode(std::string text) {
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
  }
  return text;
}

// The text after the first open after from, up to close.
std::string between(const std::string& text, std::size_t from, const std::string& open, const std::string& close) {
  const std::size_t begin = text.find(open, from);
  if (begin == std::string::npos) return {};
  const std::size_t end = text.find(close, begin + open.size());
  return text.substr(begin + open.size(), end - begin - open.size());
}

}  // namespace

std::string workbookSheet(const std::filesystem::path& path) {
  const auto entries = readZipEntries(path);
  const auto sheet = entries.find("xl/worksheets/sheet1.xml");
  return sheet == entries.end() ? std::string() : sheet->second;
}

std::map<std::string, std::string> workbookCells(const std::filesystem::path& path) {
  const auto entries = readZipEntries(path);
  std::vector<std::string> shared;
  if (const auto strings = entries.find("xl/sharedStrings.xml"); strings != entries.end()) {
    for (std::size_t at = 0; (at = strings->second.find("<si>", at)) != std::string::npos; ++at) {
      shared.push_back(decode(between(strings->second, strings->second.find("<t", at), ">", "</t>")));
    }
  }
  // A plain scan, not a regular expression: cells run to 32,767 characters.
  std::map<std::string, std::string> cells;
  const std::string sheet = workbookSheet(path);
  for (std::size_t at = 0; (at = sheet.find("<c r=\"", at)) != std::string::npos; ++at) {
    const std::size_t tagEnd = sheet.find('>', at);
    const std::string tag = sheet.substr(at, tagEnd - at);
    const std::string ref = between(tag, 0, "r=\"", "\"");
    if (tag.back() == '/') continue;  // an empty cell
    if (tag.find("t=\"s\"") != std::string::npos) {
      cells[ref] = shared.at(static_cast<std::size_t>(std::stoul(between(sheet, tagEnd, "<v>", "</v>"))));
    } else if (tag.find("t=\"inlineStr\"") != std::string::npos) {
      const std::size_t text = sheet.find("<t", tagEnd);
      cells[ref] = decode(between(sheet, text, ">", "</t>"));
    }
  }
  return cells;
}

}  // namespace gleaner::testing
