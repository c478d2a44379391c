// One prepared statement of a SqliteDb, finalized with the object.
#pragma once

#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace gleaner {

class SqliteDb;

class SqliteStatement {
 public:
  SqliteStatement(SqliteDb& db, const char* sql);  // throws StoreError
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Parameters count from 1. Blobs keep every byte (GBK, NUL).
  void bindInt(int index, long long value);
  // kept: the caller keeps the bytes until the statement is stepped, so
  // SQLite need not copy them (a long cell is not held twice).
  void bindBlob(int index, std::string_view bytes, bool kept = false);
  void bindText(int index, std::string_view utf8);

  // True while a result row is there; false when done. Throws StoreError.
  bool step();
  // Makes the statement ready for new parameters.
  void reset();

  long long columnInt(int index) const;
  bool columnIsNull(int index) const;
  std::string columnBytes(int index) const;

 private:
  SqliteDb& db_;
  sqlite3_stmt* statement_ = nullptr;
  const char* sql_;
};

}  // namespace gleaner
