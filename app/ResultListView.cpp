#include "app/ResultListView.h"

#include "text/Job.h"
#include "text/GbkConvert.h"

namespace gleaner {

ResultListView::ResultListView(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                               const ResultModel& model)
    : wxListCtrl(parent, id, pos, size, wxLC_REPORT | wxLC_VIRTUAL | wxLC_ALIGN_LEFT | wxBORDER_SUNKEN),
      model_(model) {
  Bind(wxEVT_LIST_CACHE_HINT, [this](wxListEvent& event) { cacheRows(event.GetCacheFrom(), event.GetCacheTo()); });
}

void ResultListView::cacheRows(long from, long to) {
  if (from < 0 || to < from) return;
  const auto first = static_cast<std::size_t>(from);
  const auto count = static_cast<std::size_t>(to - from + 1);
  if (first >= cacheFrom_ && first + count <= cacheFrom_ + cache_.size()) return;  // already there
  cacheFrom_ = first;
  if (!model_.copyRows(shown_.epoch, first, count, cache_)) cache_.clear();  // changed: caught up next tick
}

std::string ResultListView::legible(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size());
  bool inRun = false;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      inRun = true;
      continue;
    }
    if (inRun && !text.empty()) text += ' ';
    inRun = false;
    text += c;
  }
  return text;
}

wxString ResultListView::OnGetItemText(long item, long column) const {
  if (item < 0 || column < 0 || column > 3) return {};
  const auto row = static_cast<std::size_t>(item);
  const std::string gbk = row >= cacheFrom_ && row < cacheFrom_ + cache_.size()
                              ? cache_[row - cacheFrom_][static_cast<std::size_t>(column)]
                              : model_.cell(row, static_cast<std::size_t>(column));
  return wxString::FromUTF8(legible(gbk::toUtf8(gbk)));
}

void ResultListView::showColumns(std::optional<Job> job) {
  DeleteAllColumns();
  if (!job) return;
  const literals::ColumnSet& set = columnsOf(*job);
  for (std::size_t i = 0; i < set.size(); ++i) {
    const wxString heading = wxString::FromUTF8(gbk::toUtf8(set[i].header));
    InsertColumn(static_cast<long>(i), heading, wxLIST_FORMAT_LEFT, set[i].width);
  }
}

ResultModel::State ResultListView::catchUp() {
  ResultModel::State now = model_.state();
  if (first_ || now.job != shown_.job) showColumns(now.job);
  if (first_ || now.epoch != shown_.epoch) {
    // Rows already drawn have changed or gone: everything is drawn anew.
    cache_.clear();
    SetItemCount(static_cast<long>(now.rows));
    Refresh();
  } else if (now.rows != shown_.rows) {
    const long before = static_cast<long>(shown_.rows);
    // Cached rows stay right (rows are only added), but a cache that ended
    // at the old last row must grow to show the new ones.
    if (cacheFrom_ + cache_.size() >= shown_.rows) cache_.clear();
    SetItemCount(static_cast<long>(now.rows));
    // Only the new rows need drawing, and only where they can be seen.
    const long top = GetTopItem();
    const long last = top + GetCountPerPage();
    if (before <= last && static_cast<long>(now.rows) > before) {
      RefreshItems(std::max(before, top), std::min(static_cast<long>(now.rows) - 1, last));
    }
  }
  first_ = false;
  shown_ = now;
  return now;
}

}  // namespace gleaner
