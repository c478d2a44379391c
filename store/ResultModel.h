// The result list's rows in memory: the window shows them (its list is a
// virtual view that reads them, its count display their number), export
// reads them, and a StoreWriter keeps a copy on disk. Every change takes the
// model's lock once, so an append (index and cells) is one unit, and the
// store is told of the changes in the list's own order. Nothing here waits
// for the disk or for a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/ReaderFirstMutex.h"
#include "store/RowTable.h"
#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

class StoreWriter;

class ResultModel {
 public:
  // What a view needs to catch up with the model, read in one go.
  struct State {
    std::uint64_t epoch = 0;  // changes whenever rows already there change or go
    std::size_t rows = 0;
    std::optional<Job> job;
    std::size_t columns = kJobColumns;
  };

  // --- the list operations ---
  // Rows stay; columns: five when the list shows each row's keyword.
  void setJob(Job job, const ResultRow& headings, std::size_t columns = kJobColumns);
  // The columns an untouched list shows before its first run; not a change
  // of the list, so the store keeps the last list and a restore stays offered.
  void presetJob(Job job, const ResultRow& headings);
  void clear();                                     // the job stays
  // Keeps the first count rows (a resumed run reads their page again).
  void truncate(std::size_t count);
  // Appends at the end; returns the row's index.
  std::size_t append(const ResultRow& row);

  // --- emptying the list so that it can be undone ---
  // Empties the list and keeps its rows aside (nothing when it is empty):
  // putBackSetAside() restores them until the list changes again. The store
  // keeps the set-aside list until then, too, so that it stays restorable
  // after a close.
  void setAside();
  bool hasSetAside() const;
  // The set-aside list becomes the list again. False when there is none.
  bool putBackSetAside();

  // --- reading ---
  State state() const;
  std::size_t rowCount() const;
  std::optional<Job> job() const;
  std::size_t columns() const;
  ResultRow headings() const;
  // Empty for a row or column that is not there.
  std::string cell(std::size_t row, std::size_t column) const;
  // Copies up to n rows from index from into out (cleared first) while the
  // list is still the one of epoch; false when it has changed since.
  bool copyRows(std::uint64_t epoch, std::size_t from, std::size_t n, std::vector<ResultRow>& out) const;

  // --- the store ---
  // From now on every change is passed on to writer. The store may still
  // hold an earlier session's list: the first change replaces it with this
  // list. Call detachStore() before the writer goes.
  void attachStore(StoreWriter* writer);
  void detachStore();
  // True while the list has not changed since attachStore (or adopt): the
  // store's list is then the one an earlier session left.
  bool untouched() const;
  // A restore: the list becomes the store's own list (read from it), which
  // the store then keeps without being rewritten. Refused (false) once the
  // list has changed since attachStore.
  bool adopt(std::optional<Job> job, const ResultRow& headings, RowTable rows, std::size_t columns = kJobColumns);

 private:
  // Under mutex_, before a change: a set-aside list is given up, and the
  // store, while it holds another list than this one, is brought in step.
  void changing();

  mutable ReaderFirstMutex mutex_;
  RowTable rows_;
  std::optional<Job> job_;
  std::size_t columns_ = kJobColumns;
  ResultRow headings_;
  std::uint64_t epoch_ = 0;
  StoreWriter* writer_ = nullptr;
  bool untouched_ = true;  // until the first change or restore: the store still holds the previous list
  // The list as it was before setAside(), which the store still holds.
  struct SetAside {
    std::optional<Job> job;
    ResultRow headings;
    std::size_t columns;
    RowTable rows;
  };
  std::optional<SetAside> setAside_;
};

}  // namespace gleaner
