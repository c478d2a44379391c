// One cell of an export, read from the list's GBK text as a file needs it:
// the control characters a workbook cannot hold dropped (all but tab, CR and
// LF), then leading and trailing tabs, CRs and LFs trimmed, in UTF-8. Nothing
// is converted up front: a writer takes the text a piece at a time, or only
// as much of it as a workbook cell holds, so however long a cell is it is
// never held a second time.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace gleaner {

class ExportCell {
 public:
  // The most characters a workbook cell holds.
  static constexpr std::size_t kMaxWorkbookChars = 32767;

  // A view of gbk, which must outlive the cell.
  explicit ExportCell(std::string_view gbk);

  bool empty() const { return kept_.empty(); }

  // True for a cell that a spreadsheet would take for a formula: its text
  // starts with '=', '+', '-' or '@'.
  bool looksLikeFormula() const;

  // True when the text holds one of marks, each an ASCII character below
  // '@' (a comma, a quote, a line end).
  bool holdsAnyOf(std::string_view marks) const;

  // Hands the text to take in pieces, in order, until take returns false.
  void read(const std::function<bool(std::string_view utf8)>& take) const;

  // The whole text.
  std::string text() const;

  // The text as a workbook stores it: a text that reads like one of the
  // format's escaped characters ("_x0041_") gets its underscore escaped
  // ("_x005F_"), so spreadsheets show it as typed; and the text is cut to
  // kMaxWorkbookChars characters as stored, never inside a character or an
  // escape. cut tells whether anything was left out. Only the start of a
  // long cell is converted.
  std::string forWorkbook(bool& cut) const;

 private:
  // From the first to the last byte that stays; empty when none does.
  std::string_view kept_;
};

}  // namespace gleaner
