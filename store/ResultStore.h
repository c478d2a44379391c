// The result store: the current list (its job, column headings and every row
// in list order, cells as GBK bytes) in one SQLite file, and whether the
// program that wrote it ended cleanly.
//
// Schema (application_id 'GLNR', user_version 1):
//   meta(key TEXT PRIMARY KEY, value)  job, heading0..3, clean_end
//   rows(idx INTEGER PRIMARY KEY, c0 BLOB, c1 BLOB, c2 BLOB, c3 BLOB)
// idx is the row's index in the list, 0 to n-1. The cells are BLOBs because
// they are GBK, not UTF-8; `gleaner-cli export` turns a store into CSV.
//
// Not thread-safe: one thread uses a ResultStore at a time.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>

#include "store/StoredRow.h"

namespace gleaner {

class SqliteDb;

// What a store holds, as read when it is opened.
struct StoreSummary {
  bool cleanEnd = true;  // the program that wrote it last ended cleanly
  std::size_t rows = 0;
  int job = kNoJob;
  StoredRow headings;
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
  void setJob(int job, const StoredRow& headings);
  void clearRows();
  void appendRow(std::size_t index, const StoredRow& row);
  void updateRow(std::size_t index, const StoredRow& row);
  // Moves rows index.. one place down first.
  void insertRow(std::size_t index, const StoredRow& row);

  // Calls visit with every row (and its index) from index from on, in list
  // order, until it returns false.
  void readRows(std::size_t from, const std::function<bool(std::size_t, StoredRow&&)>& visit);

  // Caps the file at pages pages of the store's page size, so that a test can
  // make it run full.
  void limitPages(long long pages);

 private:
  void prepareSchema();
  void setMeta(const char* key, long long value);

  std::unique_ptr<SqliteDb> db_;
  struct Statements;
  std::unique_ptr<Statements> statements_;
};

}  // namespace gleaner
