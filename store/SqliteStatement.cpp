#include "store/SqliteStatement.h"

#include <sqlite3.h>

#include "store/SqliteDb.h"

namespace gleaner {

SqliteStatement::SqliteStatement(SqliteDb& db, const char* sql) : db_(db), sql_(sql) {
  if (sqlite3_prepare_v2(db.handle(), sql, -1, &statement_, nullptr) != SQLITE_OK) db.fail(sql);
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

void SqliteStatement::bindInt(int index, long long value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) db_.fail(sql_);
}

void SqliteStatement::bindBlob(int index, std::string_view bytes, bool kept) {
  // A zero-length blob, not NULL, for an empty cell.
  const int rc = bytes.empty() ? sqlite3_bind_zeroblob(statement_, index, 0)
                               : sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(),
                                                     kept ? SQLITE_STATIC : SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) db_.fail(sql_);
}

void SqliteStatement::bindText(int index, std::string_view utf8) {
  if (sqlite3_bind_text64(statement_, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK) {
    db_.fail(sql_);
  }
}

bool SqliteStatement::step() {
  const int rc = sqlite3_step(statement_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_.fail(sql_);
}

void SqliteStatement::reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

long long SqliteStatement::columnInt(int index) const { return sqlite3_column_int64(statement_, index); }

bool SqliteStatement::columnIsNull(int index) const { return sqlite3_column_type(statement_, index) == SQLITE_NULL; }

std::string SqliteStatement::columnBytes(int index) const {
  const void* data = sqlite3_column_blob(statement_, index);
  const int size = sqlite3_column_bytes(statement_, index);
  return data == nullptr ? std::string() : std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

}  // namespace gleaner
