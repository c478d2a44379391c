#include "store/ResultStore.h"

#include <string>

#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"
#include "store/StoreError.h"

namespace gleaner {
namespace {

constexpr long long kApplicationId = 0x474C4E52;  // 'GLNR'
constexpr long long kFormat = 2;

const char* const kHeadingKeys[5] = {"heading0", "heading1", "heading2", "heading3", "heading4"};
// The job value of a list without a job.
constexpr long long kNoJobNumber = -1;
const char* const kCellColumns[5] = {"c0", "c1", "c2", "c3", "c4"};

// Cells longer than this are read on their own (readRows).
constexpr long long kLongCellBytes = 256 * 1024;

}  // namespace

struct ResultStore::Statements {
  explicit Statements(SqliteDb& db)
      : append(db, "INSERT OR REPLACE INTO rows(idx, c0, c1, c2, c3, c4) VALUES(?1, ?2, ?3, ?4, ?5, ?6)"),
        setMeta(db, "INSERT OR REPLACE INTO meta(key, value) VALUES(?1, ?2)") {}
  SqliteStatement append;
  SqliteStatement setMeta;
};

ResultStore::ResultStore(const std::filesystem::path& path, Access access) {
  if (access == Access::ReadWrite) {
    std::error_code error;
    if (!path.parent_path().empty()) std::filesystem::create_directories(path.parent_path(), error);
    if (error) throw StoreError("create folder: " + error.message());
  }
  db_ = std::make_unique<SqliteDb>(path, access == Access::ReadOnly ? SqliteDb::Mode::ReadOnly
                                                                    : SqliteDb::Mode::ReadWriteCreate);
  // The first read tells a damaged file or somebody else's database.
  const long long id = db_->queryInt("PRAGMA application_id");
  const long long tables = db_->queryInt("SELECT count(*) FROM sqlite_master");
  if (id != kApplicationId && (id != 0 || tables != 0)) throw StoreError("not a result store");
  if (id == kApplicationId && db_->queryInt("PRAGMA user_version") > kFormat) {
    throw StoreError("a result store of a newer version");
  }
  if (access == Access::ReadWrite) {
    // A commit is on the disk before the next batch is taken (a power cut
    // loses at most the batch in hand); readers never block the writer.
    if (db_->queryText("PRAGMA journal_mode=WAL") != "wal") db_->fail("journal_mode=WAL");
    db_->exec("PRAGMA synchronous=FULL");
    if (id == 0) prepareSchema();
    if (id != 0 && db_->queryInt("PRAGMA user_version") < kFormat) upgradeSchema();
    statements_ = std::make_unique<Statements>(*db_);
  } else if (id == 0) {
    throw StoreError("an empty file, not a result store");
  }
  format_ = db_->queryInt("PRAGMA user_version");
}

ResultStore::~ResultStore() = default;

void ResultStore::prepareSchema() {
  db_->exec(
      "BEGIN;"
      "CREATE TABLE meta(key TEXT PRIMARY KEY, value);"
      "CREATE TABLE rows(idx INTEGER PRIMARY KEY, c0 BLOB NOT NULL, c1 BLOB NOT NULL, c2 BLOB NOT NULL,"
      " c3 BLOB NOT NULL, c4 BLOB NOT NULL DEFAULT x'');"
      "INSERT INTO meta(key, value) VALUES('job', -1), ('clean_end', 1);"
      "PRAGMA application_id=1196183122;"  // kApplicationId
      "PRAGMA user_version=2;"
      "COMMIT;");
  static_assert(kApplicationId == 1196183122 && kFormat == 2);
}

void ResultStore::upgradeSchema() {
  // Version 1 had four cells a row; its lists had four columns.
  db_->exec(
      "BEGIN;"
      "ALTER TABLE rows ADD COLUMN c4 BLOB NOT NULL DEFAULT x'';"
      "PRAGMA user_version=2;"
      "COMMIT;");
}

StoreSummary ResultStore::summary() {
  StoreSummary summary;
  SqliteStatement meta(*db_, "SELECT key, value FROM meta");
  while (meta.step()) {
    const std::string key = meta.columnBytes(0);
    if (key == "job") {
      const long long number = meta.columnInt(1);
      summary.job = jobOfNumber(number);
      summary.unknownJob = !summary.job && number != kNoJobNumber;
    }
    if (key == "clean_end") summary.cleanEnd = meta.columnInt(1) != 0;
    if (key == "columns") summary.columns = meta.columnInt(1) == 5 ? kBatchColumns : kJobColumns;
    for (std::size_t c = 0; c < std::size(kHeadingKeys); ++c) {
      if (key == kHeadingKeys[c]) summary.headings[c] = meta.columnBytes(1);
    }
  }
  summary.rows = static_cast<std::size_t>(db_->queryInt("SELECT count(*) FROM rows"));
  summary.run = facts("run");
  summary.progress = facts("progress");
  summary.outcome = facts("outcome");
  return summary;
}

void ResultStore::setMeta(const char* key, long long value) {
  SqliteStatement& s = statements_->setMeta;
  s.reset();
  s.bindText(1, key);
  s.bindInt(2, value);
  s.step();
}

void ResultStore::setCleanEnd(bool clean) { setMeta("clean_end", clean ? 1 : 0); }

void ResultStore::begin() { db_->exec("BEGIN IMMEDIATE"); }

void ResultStore::commit() { db_->exec("COMMIT"); }

void ResultStore::rollback() noexcept {
  try {
    db_->exec("ROLLBACK");
  } catch (const StoreError&) {
    // Nothing was open, or the connection is gone: nothing to undo.
  }
}

void ResultStore::setJob(std::optional<Job> job, const ResultRow& headings, std::size_t columns) {
  setMeta("job", job ? jobNumber(*job) : kNoJobNumber);
  setMeta("columns", static_cast<long long>(columns));
  SqliteStatement& s = statements_->setMeta;
  for (std::size_t c = 0; c < std::size(kHeadingKeys); ++c) {
    s.reset();
    s.bindText(1, kHeadingKeys[c]);
    s.bindBlob(2, headings[c]);
    s.step();
  }
}

void ResultStore::clearRows() { db_->exec("DELETE FROM rows"); }

void ResultStore::truncateRows(std::size_t count) {
  SqliteStatement s(*db_, "DELETE FROM rows WHERE idx >= ?1");
  s.bindInt(1, static_cast<long long>(count));
  s.step();
}

void ResultStore::appendRow(std::size_t index, const ResultRow& row) {
  SqliteStatement& s = statements_->append;
  s.reset();
  s.bindInt(1, static_cast<long long>(index));
  for (std::size_t c = 0; c < row.size(); ++c) s.bindBlob(static_cast<int>(c) + 2, row[c], true);
  s.step();
}

void ResultStore::setFacts(const std::string& group, const StoreFacts& facts) {
  SqliteStatement drop(*db_, "DELETE FROM meta WHERE key >= ?1 AND key < ?2");
  drop.bindText(1, (group + ".").c_str());
  drop.bindText(2, (group + "/").c_str());  // '/' follows '.'
  drop.step();
  SqliteStatement& s = statements_->setMeta;
  for (const auto& [name, value] : facts) {
    s.reset();
    const std::string key = group + "." + name;
    s.bindText(1, key.c_str());
    s.bindBlob(2, value);
    s.step();
  }
}

StoreFacts ResultStore::facts(const std::string& group) {
  StoreFacts facts;
  SqliteStatement s(*db_, "SELECT key, value FROM meta WHERE key >= ?1 AND key < ?2 ORDER BY rowid");
  const std::string from = group + ".";
  const std::string to = group + "/";
  s.bindText(1, from.c_str());
  s.bindText(2, to.c_str());
  while (s.step()) facts.emplace_back(s.columnBytes(0).substr(from.size()), s.columnBytes(1));
  return facts;
}

void ResultStore::readRows(std::size_t from, const std::function<bool(std::size_t, ResultRow&&)>& visit) {
  // A long cell comes as NULL here and is read on its own, straight into the
  // row: SQLite would otherwise assemble the whole value in a buffer of its
  // own before the row's copy is made, holding a big cell twice.
  // A version 1 store, read without being upgraded, has no fifth cell.
  const int cells = format_ < 2 ? 4 : 5;
  std::string sql = "SELECT idx";
  for (int c = 0; c < cells; ++c) {
    sql += std::string(", CASE WHEN length(") + kCellColumns[c] + ") > ?2 THEN NULL ELSE " + kCellColumns[c] + " END";
  }
  sql += " FROM rows WHERE idx >= ?1 ORDER BY idx";
  SqliteStatement s(*db_, sql.c_str());
  s.bindInt(1, static_cast<long long>(from));
  s.bindInt(2, kLongCellBytes);
  while (s.step()) {
    const long long index = s.columnInt(0);
    ResultRow row;
    for (int c = 0; c < cells; ++c) {
      row[static_cast<std::size_t>(c)] =
          s.columnIsNull(c + 1) ? db_->readBlob("rows", kCellColumns[c], index) : s.columnBytes(c + 1);
    }
    if (!visit(static_cast<std::size_t>(index), std::move(row))) return;
  }
}

}  // namespace gleaner
