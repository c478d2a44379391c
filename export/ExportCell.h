// The cell rules of an export, for both formats: what a cell may hold, what
// a spreadsheet must not take for a formula, and what a workbook cell needs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gleaner {

class ExportCell {
 public:
  // The most characters a workbook cell holds.
  static constexpr std::size_t kMaxWorkbookChars = 32767;

  // A cell as a file can hold it: control characters other than tab, CR and
  // LF dropped (and malformed UTF-8 replaced), then leading and trailing
  // tabs, CRs and LFs trimmed.
  static std::string clean(std::string_view utf8);

  // True for a cell that a spreadsheet would take for a formula.
  static bool looksLikeFormula(std::string_view cell);

  // A clean cell as a workbook stores it: a text that reads like one of the
  // format's escaped characters ("_x0041_") gets its underscore escaped
  // ("_x005F_"), so spreadsheets show it as typed; and the text is cut to
  // kMaxWorkbookChars characters as stored, never inside a character or an
  // escape. cut tells whether anything was left out.
  static std::string forWorkbook(std::string_view utf8, bool& cut);
};

}  // namespace gleaner
