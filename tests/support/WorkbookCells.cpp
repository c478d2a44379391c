#include "support/WorkbookCells.h"

#include <regex>
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

}  // namespace

std::string workbookSheet(const std::string& path) {
  const auto entries = readZipEntries(path);
  const auto sheet = entries.find("xl/worksheets/sheet1.xml");
  return sheet == entries.end() ? std::string() : sheet->second;
}

std::map<std::string, std::string> workbookCells(const std::string& path) {
  const auto entries = readZipEntries(path);
  std::vector<std::string> shared;
  if (const auto strings = entries.find("xl/sharedStrings.xml"); strings != entries.end()) {
    const std::regex si("<si><t(?: [^>]*)?>([^<]*)</t></si>");
    for (auto it = std::sregex_iterator(strings->second.begin(), strings->second.end(), si);
         it != std::sregex_iterator(); ++it) {
      shared.push_back(decode((*it)[1]));
    }
  }
  std::map<std::string, std::string> cells;
  const std::string sheet = workbookSheet(path);
  const std::regex sharedCell("<c r=\"([A-Z]+[0-9]+)\"[^>]*t=\"s\"[^>]*><v>([0-9]+)</v></c>");
  for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), sharedCell); it != std::sregex_iterator(); ++it) {
    cells[(*it)[1]] = shared.at(static_cast<std::size_t>(std::stoi((*it)[2])));
  }
  const std::regex inlineCell("<c r=\"([A-Z]+[0-9]+)\"[^>]*t=\"inlineStr\"[^>]*><is><t(?: [^>]*)?>([^<]*)</t></is></c>");
  for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), inlineCell); it != std::sregex_iterator(); ++it) {
    cells[(*it)[1]] = decode((*it)[2]);
  }
  return cells;
}

}  // namespace gleaner::testing
