// The result store: the current list (its job, column headings and every row
// in list order, cells as GBK bytes) in one SQLite file, and whether the
// program that wrote it ended cleanly.
//
// Schema (application_id 'GLNR', user_version 2; a version 1 store, made
// before lists had a fifth column, is upgraded when it is opened to write):
//   meta(key TEXT PRIMARY KEY, value)  job, columns, heading0..4, clean_end, and the
//                                      facts of the last run: run.<name>
//                                      (its request), outcome.<name>
//   rows(idx INTEGER PRIMARY KEY, c0 BLOB, c1 BLOB, c2 BLOB, c3 BLOB, c4 BLOB)
// idx is the row's index in the list, 0 to n-1. The cells are BLOBs because
// they are GBK, not UTF-8; `gleaner-cli export` turns a store into CSV.
//
// Not thread-safe: one thread uses a ResultStore at a time.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

class SqliteDb;

// Named texts of one group ("run", "outcome"), in the order they were set.
using StoreFacts = std::vector<std::pair<std::string, std::string>>;

// What a store holds, as read when it is opened.
struct StoreSummary {
  bool cleanEnd = true;  // the program that wrote it last ended cleanly
  std::size_t rows = 0;
  std::optional<Job> job;
  bool unknownJob = false;  // the job value is none this program knows
  std::size_t columns = kJobColumns;  // five: the list shows the keyword of each row
  ResultRow headings;
  // The last run's facts: what it was asked, where it stood, how it ended.
  StoreFacts run, progress, outcome;
};


class ResultStore {
 public:
  enum class Access { ReadWrite, ReadOnly };

  // Opens the store, creating an empty one (and its folder) when writing.
  // Throws StoreError when the file cannot be opened, is damaged, or is
  // another program's database.
  explicit ResultStore(const std::filesystem::path& path, Access access = Access::ReadWrite);
  ~ResultStore();
  ResultStore(const ResultStore&) = delete;
  ResultStore& operator=(const ResultStore&) = delete;

  StoreSummary summary();

  // The clean-end marker: cleared when a program starts using the store,
  // set when it ends cleanly.
  void setCleanEnd(bool clean);

  // Changes, inside begin() ... commit(). Every one throws StoreError.
  void begin();
  void commit();
  void rollback() noexcept;
  void setJob(std::optional<Job> job, const ResultRow& headings, std::size_t columns = kJobColumns);
  // The group's facts become these (GBK texts kept as they are).
  void setFacts(const std::string& group, const StoreFacts& facts);
  StoreFacts facts(const std::string& group);
  void clearRows();
  // Keeps the rows before index count.
  void truncateRows(std::size_t count);
  void appendRow(std::size_t index, const ResultRow& row);

  // Calls visit with every row (and its index) from index from on, in list
  // order, until it returns false.
  void readRows(std::size_t from, const std::function<bool(std::size_t, ResultRow&&)>& visit);

 private:
  void prepareSchema();
  void upgradeSchema();
  void setMeta(const char* key, long long value);

  std::unique_ptr<SqliteDb> db_;
  long long format_ = 0;  // user_version
  struct Statements;
  std::unique_ptr<Statements> statements_;
};

}  // namespace gleaner
