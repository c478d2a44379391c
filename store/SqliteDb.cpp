#include "store/SqliteDb.h"

#include <sqlite3.h>

#include "store/SqliteStatement.h"
#include "store/StoreError.h"
#include "text/PathText.h"

namespace gleaner {

SqliteDb::SqliteDb(const std::filesystem::path& path, Mode mode) {
  const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                                           : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const int rc = sqlite3_open_v2(utf8Of(path).c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("open: " + message);
  }
  sqlite3_extended_result_codes(db_, 1);
  // Another process (a script, a second runner) may hold the file a moment.
  sqlite3_busy_timeout(db_, 2000);
}

SqliteDb::~SqliteDb() { sqlite3_close(db_); }

void SqliteDb::exec(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
}

long long SqliteDb::queryInt(const char* sql) {
  SqliteStatement statement(*this, sql);
  return statement.step() ? statement.columnInt(0) : 0;
}

std::string SqliteDb::queryText(const char* sql) {
  SqliteStatement statement(*this, sql);
  return statement.step() ? statement.columnBytes(0) : std::string();
}

std::string SqliteDb::readBlob(const char* table, const char* column, long long rowid) {
  sqlite3_blob* blob = nullptr;
  if (sqlite3_blob_open(db_, "main", table, column, rowid, 0, &blob) != SQLITE_OK) {
    sqlite3_blob_close(blob);
    fail(std::string("read ") + column);
  }
  std::string bytes(static_cast<std::size_t>(sqlite3_blob_bytes(blob)), '\0');
  const int rc = sqlite3_blob_read(blob, bytes.data(), static_cast<int>(bytes.size()), 0);
  sqlite3_blob_close(blob);
  if (rc != SQLITE_OK) fail(std::string("read ") + column);
  return bytes;
}

void SqliteDb::fail(const std::string& what) const { throw StoreError(what + ": " + sqlite3_errmsg(db_)); }

}  // namespace gleaner
