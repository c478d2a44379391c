// The cells of the first sheet of an .xlsx workbook, by reference ("A1" ->
// text as stored in the XML, entities decoded), whether the sheet holds its
// strings inline (a streamed workbook) or in the shared string table.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace gleaner::testing {

std::map<std::string, std::string> workbookCells(const std::filesystem::path& path);

// The sheet's XML, for looking at what else it holds (formulas, widths).
std::string workbookSheet(const std::filesystem::path& path);

}  // namespace gleaner::testing
