// The result list control (1003) as a virtual view of the ResultModel: it
// holds no rows of its own and asks the model for the cells it draws. A run
// never waits for it: rows go into the model, and the window calls
// catchUp() on a short timer to bring the item count, the columns and the
// drawn rows up to the model.
//
// The rows about to be drawn are copied out of the model in one go (the
// control's cache hint), so drawing takes the model's lock once, not once per
// cell.
//
// Cells are shown legibly: control characters (the tab and CR LF that buyer
// rows carry) are drawn as single spaces and left out at the ends, and the
// credit cell of a seller without a level does not start with the ", " that
// stood between level and score. The model keeps the cells as they are, for
// export and the store.
//
// Column widths are the job's, in pixels at 96 DPI, scaled to the screen;
// the last column always reaches the list's right edge. fitColumnsToContent()
// sizes them to the rows (the end of a run, a restore); the user can still
// drag them.
#pragma once

#include <wx/listctrl.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "store/ResultModel.h"

namespace gleaner {

class ResultListView : public wxListCtrl {
 public:
  ResultListView(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size, const ResultModel& model);

  // Brings the control up to the model; returns the state it now shows.
  ResultModel::State catchUp();

  // A cell as the list draws it.
  wxString displayedText(long item, long column) const { return OnGetItemText(item, column); }

  // The text a cell is drawn with: runs of control characters become one
  // space, and are left out at both ends. UTF-8 in, UTF-8 out.
  static std::string legible(std::string_view utf8);

  // The text a cell of job's column is drawn with (UTF-8): legible, and a
  // seller's credit cell without its leading ", ".
  static std::string shownCell(std::optional<Job> job, std::size_t column, std::string_view utf8);

  // Sizes every column to its heading and the widest of its cells (all of
  // them in a list of a few thousand rows, an even sample of a longer one),
  // within bounds; the last column also fills what is left of the list.
  void fitColumnsToContent();

  // A cell's width in half-width characters as the list draws it (a
  // two-byte character counts two): which cells are the widest, without
  // laying each one out.
  static std::size_t roughWidth(std::string_view gbk);

 protected:
  wxString OnGetItemText(long item, long column) const override;

 private:
  void showColumns(std::optional<Job> job, std::size_t columns);
  void cacheRows(long from, long to);
  // Widens the last column to the list's right edge (it keeps a larger width).
  void fillWithLastColumn();
  // Width of the area the rows are drawn in (without a vertical scroll bar).
  int rowsWidth() const;
  int contentWidth(std::size_t column, const std::vector<ResultRow>& sample) const;

  const ResultModel& model_;
  // Width the last column needs for its own heading and cells.
  int lastColumnNeeds_ = 0;
  ResultModel::State shown_;
  bool first_ = true;
  // Rows cacheFrom_.. of the list of epoch shown_.epoch, as the model held them.
  std::size_t cacheFrom_ = 0;
  std::vector<ResultRow> cache_;
};

}  // namespace gleaner
