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
// rows carry) are drawn as single spaces and left out at the ends. The model
// keeps the cells as they are, for export and the store.
#pragma once

#include <wx/listctrl.h>

#include <cstdint>
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

 protected:
  wxString OnGetItemText(long item, long column) const override;

 private:
  void showColumns(std::optional<Job> job);
  void cacheRows(long from, long to);

  const ResultModel& model_;
  ResultModel::State shown_;
  bool first_ = true;
  // Rows cacheFrom_.. of the list of epoch shown_.epoch, as the model held them.
  std::size_t cacheFrom_ = 0;
  std::vector<ResultRow> cache_;
};

}  // namespace gleaner
