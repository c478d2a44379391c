#include "store/StoreWriter.h"

#include <exception>
#include <vector>

namespace gleaner {

StoreWriter::StoreWriter(std::filesystem::path path, Options options)
    : path_(std::move(path)), options_(options) {
  try {
    store_ = std::make_unique<ResultStore>(path_);
    previous_ = store_->summary();
    store_->setCleanEnd(false);
  } catch (const std::exception& e) {
    store_.reset();
    previous_ = {};
    faulted_ = true;
    fault_ = e.what();
    faultWaiting_ = true;
    return;
  }
  thread_ = std::thread([this] { run(); });
}

StoreWriter::~StoreWriter() { close(false); }

void StoreWriter::reset(std::optional<Job> job, const ResultRow& headings, std::size_t columns) {
  queue({Kind::Reset, columns, job, headings});
}
void StoreWriter::setJob(std::optional<Job> job, const ResultRow& headings, std::size_t columns) {
  queue({Kind::SetJob, columns, job, headings});
}
void StoreWriter::clear() { queue({Kind::Clear}); }
void StoreWriter::truncate(std::size_t count) { queue({Kind::Truncate, count}); }
void StoreWriter::append(std::size_t index, const ResultRow& row) { queue({Kind::Append, index, {}, row}); }
void StoreWriter::setFacts(std::string group, StoreFacts facts) {
  Change change{Kind::Facts};
  change.group = std::move(group);
  change.facts = std::move(facts);
  queue(std::move(change));
}

void StoreWriter::queue(Change change) {
  std::lock_guard lock(mutex_);
  if (closed_ || faulted_) return;
  const bool first = queue_.empty();
  if (first) firstQueued_ = std::chrono::steady_clock::now();
  queue_.push_back(std::move(change));
  // Two wake-ups per batch at most: the first change starts the thread's
  // clock, a full batch ends its wait. It looks at the queue again after each
  // transaction anyway.
  if (first || queue_.size() == options_.batch) wake_.notify_one();
}

void StoreWriter::run() {
  std::vector<Change> taken;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (queue_.empty()) {
      if (stopping_) break;
      wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      continue;
    }
    const auto due = [&] { return stopping_ || queue_.size() >= options_.batch; };
    if (!due()) wake_.wait_until(lock, firstQueued_ + options_.maxDelay, due);

    const std::size_t n = std::min(queue_.size(), options_.maxPerTransaction);
    for (std::size_t i = 0; i < n; ++i) {
      taken.push_back(std::move(queue_.front()));
      queue_.pop_front();
    }
    firstQueued_ = std::chrono::steady_clock::now();
    lock.unlock();

    std::optional<std::string> error;
    try {
      store_->begin();
      for (const Change& change : taken) apply(change);
      store_->commit();
    } catch (const std::exception& e) {
      store_->rollback();
      error = e.what();
    }

    taken.clear();  // freeing the rows needs no lock
    lock.lock();
    if (error) {
      fail(*error);
      queue_.clear();
      break;
    }
  }
  // Stopping, everything written (or a fault): the marker, then the file is closed.
  if (!faulted_ && cleanEnd_) {
    lock.unlock();
    std::optional<std::string> error;
    try {
      store_->setCleanEnd(true);
    } catch (const std::exception& e) {
      error = e.what();
    }
    lock.lock();
    if (error) fail(*error);
  }
  lock.unlock();
  store_.reset();
}

void StoreWriter::apply(const Change& change) {
  switch (change.kind) {
    case Kind::Reset:
      store_->clearRows();
      store_->setJob(change.job, change.cells, change.index);
      break;
    case Kind::SetJob:
      store_->setJob(change.job, change.cells, change.index);
      break;
    case Kind::Clear:
      store_->clearRows();
      break;
    case Kind::Truncate:
      store_->truncateRows(change.index);
      break;
    case Kind::Append:
      store_->appendRow(change.index, change.cells);
      break;
    case Kind::Facts:
      store_->setFacts(change.group, change.facts);
      break;
  }
}

void StoreWriter::close(bool cleanEnd) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    stopping_ = true;
    cleanEnd_ = cleanEnd;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void StoreWriter::fail(const std::string& text) {
  if (faulted_) return;
  faulted_ = true;
  fault_ = text;
  faultWaiting_ = true;
}

std::optional<std::string> StoreWriter::takeFault() {
  // The window asks on every tick: no lock until there is something to take.
  if (!faultWaiting_.load(std::memory_order_acquire)) return std::nullopt;
  std::lock_guard lock(mutex_);
  faultWaiting_ = false;
  std::optional<std::string> fault;
  fault.swap(fault_);
  return fault;
}

}  // namespace gleaner
