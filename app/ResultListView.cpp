#include "app/ResultListView.h"

#include <algorithm>

#include "text/Job.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner {
namespace {

// Rows measured for the column widths: all of a list up to this size, an
// even sample of a longer one, so that fitting never takes long.
constexpr std::size_t kRowsMeasured = 2000;
// Of those, the cells of a column laid out exactly: the roughly widest.
constexpr std::size_t kCellsMeasured = 24;

// The credit cell of a seller below the lowest level: the level is empty,
// and the cell starts with what stood between it and the score.
constexpr std::string_view kEmptyLevelSeparator = ", ";
constexpr std::size_t kCreditColumn = 3;

}  // namespace

ResultListView::ResultListView(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                               const ResultModel& model)
    : wxListCtrl(parent, id, pos, size, wxLC_REPORT | wxLC_VIRTUAL | wxLC_ALIGN_LEFT | wxBORDER_SUNKEN),
      model_(model) {
  Bind(wxEVT_LIST_CACHE_HINT, [this](wxListEvent& event) { cacheRows(event.GetCacheFrom(), event.GetCacheTo()); });
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    event.Skip();
    CallAfter([this] { fillWithLastColumn(); });
  });
  // A column dragged narrower leaves no gap at the right.
  Bind(wxEVT_LIST_COL_END_DRAG, [this](wxListEvent& event) {
    event.Skip();
    CallAfter([this] { fillWithLastColumn(); });
  });
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

std::string ResultListView::shownCell(std::optional<Job> job, std::size_t column, std::string_view utf8) {
  std::string text = legible(utf8);
  if (job == Job::Sellers && column == kCreditColumn &&
      text.starts_with(kEmptyLevelSeparator)) {
    text.erase(0, kEmptyLevelSeparator.size());
  }
  return text;
}

wxString ResultListView::OnGetItemText(long item, long column) const {
  if (item < 0 || column < 0 || column >= static_cast<long>(shown_.columns)) return {};
  const auto row = static_cast<std::size_t>(item);
  const auto col = static_cast<std::size_t>(column);
  const std::string gbk = row >= cacheFrom_ && row < cacheFrom_ + cache_.size() ? cache_[row - cacheFrom_][col]
                                                                                 : model_.cell(row, col);
  return wxString::FromUTF8(shownCell(shown_.job, col, gbk::toUtf8(gbk)));
}

void ResultListView::showColumns(std::optional<Job> job, std::size_t columns) {
  DeleteAllColumns();
  lastColumnNeeds_ = 0;
  if (!job) return;
  std::vector<literals::ColumnSpec> specs(columnsOf(*job).begin(), columnsOf(*job).end());
  if (columns == kBatchColumns) specs.push_back(literals::kKeywordColumn);
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const wxString heading = wxString::FromUTF8(gbk::toUtf8(specs[i].header));
    InsertColumn(static_cast<long>(i), heading, wxLIST_FORMAT_LEFT, FromDIP(specs[i].width));
  }
  lastColumnNeeds_ = FromDIP(specs.back().width);
  fillWithLastColumn();
}

int ResultListView::rowsWidth() const { return GetClientSize().x; }

void ResultListView::fillWithLastColumn() {
  const int columns = GetColumnCount();
  if (columns == 0) return;
  int others = 0;
  for (int c = 0; c + 1 < columns; ++c) others += GetColumnWidth(c);
  const int width = std::max(lastColumnNeeds_, rowsWidth() - others);
  if (width != GetColumnWidth(columns - 1)) SetColumnWidth(columns - 1, width);
}

// The width of a GBK cell in half-width characters, as the list draws it:
// a two-byte character takes two, an ASCII character one, a run of control
// characters one space. Close enough to find the widest few cells of a
// column without laying out every one.
std::size_t ResultListView::roughWidth(std::string_view gbk) {
  std::size_t width = 0;
  bool inRun = false;
  for (std::size_t i = 0; i < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    const std::size_t n = gbk::charLength(gbk, i);
    i += n;
    if (byte < 0x20 || byte == 0x7F) {
      inRun = true;
      continue;
    }
    if (inRun && width > 0) ++width;
    inRun = false;
    width += n == 2 ? 2 : 1;
  }
  return width;
}

int ResultListView::contentWidth(std::size_t column, const std::vector<ResultRow>& sample) const {
  wxListItem heading;
  heading.SetMask(wxLIST_MASK_TEXT);
  GetColumn(static_cast<int>(column), heading);
  // Room for the header's own margins and the cells' padding.
  int widest = GetTextExtent(heading.GetText()).x + FromDIP(24);
  const int cellPadding = FromDIP(16);
  // Laying out a text is what costs: only the cells that are roughly the
  // widest are measured exactly.
  std::vector<std::pair<std::size_t, const std::string*>> cells;
  cells.reserve(sample.size());
  for (const ResultRow& row : sample) cells.emplace_back(roughWidth(row[column]), &row[column]);
  const std::size_t measured = std::min(cells.size(), kCellsMeasured);
  std::partial_sort(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(measured), cells.end(),
                    [](const auto& a, const auto& b) { return a.first > b.first; });
  for (std::size_t i = 0; i < measured; ++i) {
    const wxString text = wxString::FromUTF8(shownCell(shown_.job, column, gbk::toUtf8(*cells[i].second)));
    widest = std::max(widest, GetTextExtent(text).x + cellPadding);
  }
  return widest;
}

void ResultListView::fitColumnsToContent() {
  catchUp();
  const int columns = GetColumnCount();
  const std::size_t rows = shown_.rows;
  if (columns == 0 || rows == 0) return;  // nothing to measure: the job's widths stay
  std::vector<ResultRow> sample;
  if (rows <= kRowsMeasured) {
    if (!model_.copyRows(shown_.epoch, 0, rows, sample)) return;  // changed under us: the next end fits again
  } else {
    std::vector<ResultRow> one;
    for (std::size_t i = 0; i < kRowsMeasured; ++i) {
      if (!model_.copyRows(shown_.epoch, i * rows / kRowsMeasured, 1, one)) return;
      sample.push_back(std::move(one.front()));
    }
  }
  // No column but the last takes more than its bound, so that a long
  // product name leaves the others in view.
  const int widest = std::max(FromDIP(400), rowsWidth() * 2 / 5);
  const int narrowest = FromDIP(40);
  for (int c = 0; c + 1 < columns; ++c) {
    SetColumnWidth(c, std::clamp(contentWidth(static_cast<std::size_t>(c), sample), narrowest, widest));
  }
  lastColumnNeeds_ = contentWidth(static_cast<std::size_t>(columns - 1), sample);
  SetColumnWidth(columns - 1, lastColumnNeeds_);
  fillWithLastColumn();
}

ResultModel::State ResultListView::catchUp() {
  ResultModel::State now = model_.state();
  if (first_ || now.job != shown_.job || now.columns != shown_.columns) showColumns(now.job, now.columns);
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
  const bool rowsChanged = now.rows != shown_.rows;
  shown_ = now;
  // A scroll bar comes or goes with the rows: the last column keeps reaching the edge.
  if (rowsChanged) fillWithLastColumn();
  return now;
}

}  // namespace gleaner
