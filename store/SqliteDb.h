// One SQLite connection. The raw C API is wrapped just enough to close what
// was opened and to turn every failure into a StoreError naming the step.
#pragma once

#include <filesystem>
#include <string>

struct sqlite3;

namespace gleaner {

class SqliteDb {
 public:
  // ReadOnly never writes, beside the file either: a database that no
  // connection has open (no -wal file beside it) is opened as immutable, so
  // it reads from a read-only folder or medium and leaves no -wal or -shm
  // file behind; one with a -wal file (a program has it open, or one ended
  // without closing it) is read through that log, as SQLite reads it.
  enum class Mode { ReadWriteCreate, ReadOnly };

  // Throws StoreError when the file cannot be opened.
  SqliteDb(const std::filesystem::path& path, Mode mode);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  // Runs statements without results; throws StoreError.
  void exec(const char* sql);
  // The single value of a one-row query (a pragma, a count).
  long long queryInt(const char* sql);
  std::string queryText(const char* sql);
  // The whole value of one blob cell, read straight from the file into the
  // result, without SQLite's own copy of the value on the way.
  std::string readBlob(const char* table, const char* column, long long rowid);

  sqlite3* handle() const { return db_; }

  // Throws StoreError for a failed step: what, then SQLite's message.
  [[noreturn]] void fail(const std::string& what) const;

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace gleaner
