#include "store/ResultModel.h"

#include <algorithm>

#include "store/StoreWriter.h"

namespace gleaner {

void ResultModel::changing() {
  // The first change after the store was attached replaces the store's
  // list (the previous run's, kept for a restore) with this one; so does the
  // first change after a list was set aside.
  const bool storeBehind = untouched_ || setAside_.has_value();
  untouched_ = false;
  setAside_.reset();
  if (writer_ == nullptr || !storeBehind) return;
  writer_->reset(job_, headings_, columns_);
  for (std::size_t i = 0; i < rows_.size(); ++i) writer_->append(i, rows_.row(i));
}

void ResultModel::setJob(Job job, const ResultRow& headings, std::size_t columns) {
  std::lock_guard lock(mutex_);
  changing();
  job_ = job;
  headings_ = headings;
  columns_ = columns;
  if (writer_ != nullptr) writer_->setJob(job, headings, columns);
}

void ResultModel::presetJob(Job job, const ResultRow& headings) {
  std::lock_guard lock(mutex_);
  if (!untouched_) return;
  job_ = job;
  headings_ = headings;
  columns_ = kJobColumns;
}

void ResultModel::clear() {
  std::lock_guard lock(mutex_);
  changing();
  rows_.clear();
  ++epoch_;
  if (writer_ != nullptr) writer_->clear();
}

void ResultModel::truncate(std::size_t count) {
  std::lock_guard lock(mutex_);
  if (count >= rows_.size()) return;
  changing();
  rows_.truncate(count);
  ++epoch_;
  if (writer_ != nullptr) writer_->truncate(count);
}

std::size_t ResultModel::append(const ResultRow& row) {
  std::lock_guard lock(mutex_);
  changing();
  const std::size_t index = rows_.size();
  rows_.append(row);
  if (writer_ != nullptr) writer_->append(index, row);
  return index;
}

void ResultModel::setAside() {
  std::lock_guard lock(mutex_);
  // An empty list has nothing to keep, and an untouched one has no rows: the
  // store's list (an earlier session's) stays restorable as it was.
  if (rows_.empty()) return;
  // The store is not told: it goes on holding this list, the one a
  // put-back restores, until the next change.
  setAside_ = SetAside{job_, headings_, columns_, std::move(rows_)};
  rows_ = RowTable();
  ++epoch_;
}

bool ResultModel::hasSetAside() const {
  ReaderFirstMutex::Reading lock(mutex_);
  return setAside_.has_value();
}

bool ResultModel::putBackSetAside() {
  std::lock_guard lock(mutex_);
  if (!setAside_) return false;
  job_ = setAside_->job;
  headings_ = std::move(setAside_->headings);
  columns_ = setAside_->columns;
  rows_ = std::move(setAside_->rows);
  setAside_.reset();
  ++epoch_;
  return true;
}

ResultModel::State ResultModel::state() const {
  ReaderFirstMutex::Reading lock(mutex_);
  return {epoch_, rows_.size(), job_, columns_};
}

std::size_t ResultModel::rowCount() const {
  ReaderFirstMutex::Reading lock(mutex_);
  return rows_.size();
}

std::optional<Job> ResultModel::job() const {
  ReaderFirstMutex::Reading lock(mutex_);
  return job_;
}

std::size_t ResultModel::columns() const {
  ReaderFirstMutex::Reading lock(mutex_);
  return columns_;
}

ResultRow ResultModel::headings() const {
  ReaderFirstMutex::Reading lock(mutex_);
  return headings_;
}

std::string ResultModel::cell(std::size_t row, std::size_t column) const {
  ReaderFirstMutex::Reading lock(mutex_);
  if (row >= rows_.size() || column > 3) return {};
  return std::string(rows_.cell(row, column));
}

bool ResultModel::copyRows(std::uint64_t epoch, std::size_t from, std::size_t n, std::vector<ResultRow>& out) const {
  out.clear();
  ReaderFirstMutex::Reading lock(mutex_);
  if (epoch != epoch_) return false;
  const std::size_t end = std::min(rows_.size(), from + n);
  for (std::size_t i = from; i < end; ++i) out.push_back(rows_.row(i));
  return true;
}

void ResultModel::attachStore(StoreWriter* writer) {
  std::lock_guard lock(mutex_);
  writer_ = writer;
  untouched_ = true;
}

void ResultModel::detachStore() {
  std::lock_guard lock(mutex_);
  writer_ = nullptr;
}

bool ResultModel::untouched() const {
  ReaderFirstMutex::Reading lock(mutex_);
  return untouched_;
}

bool ResultModel::adopt(std::optional<Job> job, const ResultRow& headings, RowTable rows, std::size_t columns) {
  std::lock_guard lock(mutex_);
  if (!untouched_) return false;
  rows_ = std::move(rows);
  job_ = job;
  headings_ = headings;
  columns_ = columns;
  ++epoch_;
  untouched_ = false;
  return true;
}

}  // namespace gleaner
