#include "store/SqliteDb.h"

#include <sqlite3.h>

#include <algorithm>

#include "store/SqliteStatement.h"
#include "store/StoreError.h"
#include "text/PathText.h"

namespace gleaner {
namespace {

bool hasWriteAheadLog(const std::filesystem::path& path) {
  std::filesystem::path log = path;
  log += "-wal";
  std::error_code error;
  return std::filesystem::exists(log, error);
}

// "file:///abs/path?immutable=1": the path absolute with '/' separators (a
// Windows drive path gets the slash SQLite expects before "C:"), and the
// characters that end a URI's path percent-encoded.
std::string immutableUri(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) absolute = path;
  std::string generic = utf8Of(absolute);
#ifdef _WIN32
  std::replace(generic.begin(), generic.end(), '\\', '/');
#endif
  std::string uri = "file://";
  if (generic.empty() || generic.front() != '/') uri += '/';
  for (const char c : generic) {
    if (c == '%') uri += "%25";
    else if (c == '?') uri += "%3F";
    else if (c == '#') uri += "%23";
    else uri += c;
  }
  return uri + "?immutable=1";
}

}  // namespace

SqliteDb::SqliteDb(const std::filesystem::path& path, Mode mode) {
  int flags = SQLITE_OPEN_NOMUTEX;
  std::string name = utf8Of(path);
  if (mode == Mode::ReadWriteCreate) {
    flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  } else if (hasWriteAheadLog(path)) {
    flags |= SQLITE_OPEN_READONLY;
  } else {
    flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    name = immutableUri(path);
  }
  const int rc = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
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
