#include "engine/MemoryWindow.h"

#include "text/Literals.h"

namespace gleaner {

MemoryWindow::MemoryWindow(const std::string& itemHost) {
  using namespace literals;
  texts_[{TabPage::Search, ids::kSearchPages}] = std::string(kDefaultPageCount);
  texts_[{TabPage::Search, ids::kSearchKeyword}] = std::string(kDefaultKeyword);
  checks_[{TabPage::Search, ids::kSortNormal}] = CheckState::Checked;
  texts_[{TabPage::ItemUrl, ids::kItemAddress}] = "http://" + itemHost + std::string(kSampleItemPath);
  texts_[{TabPage::SellerSearch, ids::kSellerKeyword}] = std::string(kDefaultKeyword);
  texts_[{TabPage::SellerSearch, ids::kSellerPages}] = std::string(kDefaultPageCount);
  texts_[{TabPage::SellerSearch, ids::kSellerLevel}] = std::string(kAllCreditLevels);
}

int MemoryWindow::selectedTabIndex() {
  std::lock_guard lock(mutex_);
  return selectedTab_;
}

std::string MemoryWindow::controlText(TabPage page, int controlId) {
  std::lock_guard lock(mutex_);
  const auto it = texts_.find({page, controlId});
  return it == texts_.end() ? std::string() : it->second;
}

CheckState MemoryWindow::checkState(TabPage page, int controlId) {
  std::lock_guard lock(mutex_);
  const auto it = checks_.find({page, controlId});
  return it == checks_.end() ? CheckState::Unchecked : it->second;
}

void MemoryWindow::setJobColumns(CollectionMode mode) {
  std::lock_guard lock(mutex_);
  columns_ = mode;
  if (mirror_ != nullptr) mirror_->columnsSet(mode);
}

void MemoryWindow::deleteAllRows() {
  std::lock_guard lock(mutex_);
  rows_.clear();
  uncountedRows_ = 0;
  if (mirror_ != nullptr) mirror_->rowsDeleted();
}

int MemoryWindow::rowCount() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(rows_.size()) + uncountedRows_;
}

void MemoryWindow::insertRow(int index, const std::string& column0) {
  std::lock_guard lock(mutex_);
  // A list control inserts past its end as the last row.
  if (index < 0 || index > static_cast<int>(rows_.size())) index = static_cast<int>(rows_.size());
  ResultRow row;
  row[0] = column0;
  const bool atEnd = index == static_cast<int>(rows_.size());
  rows_.insert(rows_.begin() + index, row);
  if (mirror_ == nullptr) return;
  if (atEnd) {
    mirror_->rowAppended(static_cast<std::size_t>(index), row);
  } else {
    mirror_->rowChanged(static_cast<std::size_t>(index), row, true);
  }
}

void MemoryWindow::setCellText(int row, int column, const std::string& text) {
  std::lock_guard lock(mutex_);
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column > 3) return;
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
  if (mirror_ != nullptr) mirror_->rowChanged(static_cast<std::size_t>(row), rows_[static_cast<std::size_t>(row)], false);
}

void MemoryWindow::setCountDisplay(const std::string& text) {
  std::lock_guard lock(mutex_);
  countDisplay_ = text;
}

void MemoryWindow::setStatusText(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    statusText_ = text;
    statusHistory_.push_back(text);
  }
  if (onStatusText) onStatusText(text);
}

void MemoryWindow::enableCollectButton(bool enable) {
  std::lock_guard lock(mutex_);
  collectEnabled_ = enable;
}

void MemoryWindow::showMessage(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(text);
  }
  if (onMessage) onMessage(text);
}

void MemoryWindow::appendRow(const ResultRow& row, const std::string& countText) {
  std::lock_guard order(appendOrder_);
  {
    std::lock_guard lock(mutex_);
    const std::size_t index = rows_.size() + static_cast<std::size_t>(uncountedRows_);
    if (keepRows_) {
      rows_.push_back(row);
    } else {
      ++uncountedRows_;
    }
    countDisplay_ = countText;
    if (mirror_ != nullptr) mirror_->rowAppended(index, row);
  }
  if (onRowAppended) onRowAppended(row);
}

void MemoryWindow::setKeepRows(bool keep) {
  std::lock_guard lock(mutex_);
  keepRows_ = keep;
}

void MemoryWindow::reportStatus(const std::string& line, bool counted) {
  {
    std::lock_guard lock(mutex_);
    reports_.push_back(line);
    if (counted) ++reportCount_;
  }
  if (onReport) onReport(line);
}

void MemoryWindow::setListMirror(ListMirror* mirror) {
  std::lock_guard lock(mutex_);
  mirror_ = mirror;
}

void MemoryWindow::selectTab(int index) {
  std::lock_guard lock(mutex_);
  selectedTab_ = index;
}

void MemoryWindow::setControlText(TabPage page, int controlId, std::string text) {
  std::lock_guard lock(mutex_);
  texts_[{page, controlId}] = std::move(text);
}

void MemoryWindow::setCheckState(TabPage page, int controlId, CheckState state) {
  std::lock_guard lock(mutex_);
  checks_[{page, controlId}] = state;
}

void MemoryWindow::checkSortRadio(int controlId) {
  std::lock_guard lock(mutex_);
  for (int id = ids::kSortNormal; id <= ids::kSortPrice; ++id) {
    checks_[{TabPage::Search, id}] = id == controlId ? CheckState::Checked : CheckState::Unchecked;
  }
}

std::vector<ResultRow> MemoryWindow::rows() const {
  std::lock_guard lock(mutex_);
  return rows_;
}

CollectionMode MemoryWindow::columns() const {
  std::lock_guard lock(mutex_);
  return columns_;
}

std::string MemoryWindow::countDisplay() const {
  std::lock_guard lock(mutex_);
  return countDisplay_;
}

std::string MemoryWindow::statusText() const {
  std::lock_guard lock(mutex_);
  return statusText_;
}

std::vector<std::string> MemoryWindow::statusHistory() const {
  std::lock_guard lock(mutex_);
  return statusHistory_;
}

std::vector<std::string> MemoryWindow::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<std::string> MemoryWindow::reports() const {
  std::lock_guard lock(mutex_);
  return reports_;
}

int MemoryWindow::reportCount() const {
  std::lock_guard lock(mutex_);
  return reportCount_;
}

bool MemoryWindow::collectEnabled() const {
  std::lock_guard lock(mutex_);
  return collectEnabled_;
}

}  // namespace gleaner
