#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "store/ResultStore.h"
#include "store/StoreError.h"
#include "store/StoreWriter.h"
#include "StoreTestSupport.h"
#include "support/ReadOnlyFolder.h"
#include "support/WaitFor.h"
#include "text/PathText.h"

namespace gleaner::testing {
namespace {

using ResultStoreFile = StoreFolder;
namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ResultStoreFile, KeepsEveryByteOfEveryCellInListOrder) {
  const fs::path path = dir / "sub" / "结果.sqlite";  // the folder is made, the name may be Chinese
  const std::vector<ResultRow> rows{
      {"\xBA\xCB\xCC\xD2\t\r\n", "90084618\t", "\x83\x7C\x96\x7C", "http://item.taobao.com/item.htm?id=1"},
      {"", "", "", ""},
      {std::string("nul\0inside", 10), "'quote\"", "=1+2", std::string(100000, 'x')},
  };
  const ResultRow headings{"\xC9\xCC\xC6\xB7\xC3\xFB\xB3\xC6", "b", "c", "d"};
  {
    ResultStore store(path);
    store.begin();
    store.setJob(Job::Buyers, headings);
    for (std::size_t i = 0; i < rows.size(); ++i) store.appendRow(i, rows[i]);
    store.commit();
    const StoreSummary summary = store.summary();
    EXPECT_EQ(summary.rows, 3u);
    EXPECT_EQ(summary.job, Job::Buyers);
    EXPECT_EQ(summary.headings, headings);
  }
  EXPECT_EQ(storedRows(path), rows);

  {
    ResultStore store(path);
    store.begin();
    store.appendRow(3, {"never", "", "", ""});
    store.rollback();
  }
  EXPECT_EQ(storedRows(path), rows) << "a rolled back change leaves nothing";

  ResultStore store(path);
  store.begin();
  store.clearRows();
  store.commit();
  EXPECT_EQ(store.summary().rows, 0u);
  EXPECT_EQ(store.summary().job, Job::Buyers) << "emptying the rows keeps the job";
}

// The facts of the last run: each group is replaced as a whole, the others
// and the list stay; a job value no program knows is told as such.
TEST_F(ResultStoreFile, KeepsTheFactsOfTheLastRunByGroup) {
  const fs::path path = dir / "results.sqlite";
  ResultStore store(path);
  store.begin();
  store.setJob(Job::Offers, {});
  store.setFacts("run", {{"job", "0"}, {"keyword", "\xBA\xCB\xCC\xD2"}, {"pages", "3"}});
  store.setFacts("outcome", {{"kind", "finished"}});
  store.setFacts("run", {{"job", "2"}});
  store.commit();
  EXPECT_EQ(store.facts("run"), (StoreFacts{{"job", "2"}}));
  EXPECT_EQ(store.facts("outcome"), (StoreFacts{{"kind", "finished"}}));
  EXPECT_EQ(store.summary().job, Job::Offers);
  EXPECT_FALSE(store.summary().unknownJob);

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(utf8Of(path).c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE meta SET value = 7 WHERE key = 'job'", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  EXPECT_FALSE(store.summary().job);
  EXPECT_TRUE(store.summary().unknownJob);
}

TEST_F(ResultStoreFile, RefusesDamagedAndForeignFilesAndLeavesThemAlone) {
  const fs::path damaged = dir / "damaged.sqlite";
  std::ofstream(damaged, std::ios::binary) << std::string(8192, '\x5A');
  const std::string before = readBytes(damaged);

  // Somebody else's database, given by mistake.
  const fs::path foreign = dir / "foreign.sqlite";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(utf8Of(foreign).c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE accounts(name TEXT); INSERT INTO accounts VALUES('x');", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  const std::string foreignBefore = readBytes(foreign);

  for (const fs::path& path : {damaged, foreign}) {
    EXPECT_THROW(ResultStore{path}, StoreError) << path;
    EXPECT_THROW((ResultStore{path, ResultStore::Access::ReadOnly}), StoreError) << path;
    StoreWriter writer(path);
    writer.append(0, {"a", "b", "c", "d"});
    writer.close(true);
    const auto fault = writer.takeFault();
    ASSERT_TRUE(fault);
    EXPECT_FALSE(writer.takeFault()) << "a fault is told once";
  }
  EXPECT_EQ(readBytes(damaged), before);
  EXPECT_EQ(readBytes(foreign), foreignBefore);
  EXPECT_THROW((ResultStore{dir / "missing.sqlite", ResultStore::Access::ReadOnly}), StoreError);
  EXPECT_FALSE(fs::exists(dir / "missing.sqlite")) << "reading never creates a store";
}

// Reading a store writes nothing, beside it either, so it reads from a
// read-only folder too; a store whose writer still has it open is read with
// all its writer committed.
TEST_F(ResultStoreFile, IsReadWithoutWritingAnythingFromAReadOnlyFolderToo) {
  const fs::path path = dir / "results.sqlite";
  const std::vector<ResultRow> rows{{"a", "b", "c", "d"}, {"e", "f", "g", "h"}};
  {
    StoreWriter writer(path);
    writer.reset(Job::Offers, {"h0", "h1", "h2", "h3"});
    for (std::size_t i = 0; i < rows.size(); ++i) writer.append(i, rows[i]);
    EXPECT_TRUE(waitFor([&] { return storedRows(path) == rows; }, std::chrono::seconds(10)))
        << "committed, still in the writer's log";
    writer.close(true);
  }
  const std::string bytes = readBytes(path);
  EXPECT_EQ(storedRows(path), rows);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path().filename());
  EXPECT_EQ(files, std::vector<fs::path>{"results.sqlite"}) << "nothing left beside the store";
  EXPECT_EQ(readBytes(path), bytes);

  // A copy on a read-only medium.
  const fs::path medium = dir / "medium";
  fs::create_directories(medium);
  fs::copy_file(path, medium / "results.sqlite");
  ReadOnlyFolder readOnly(medium);
  if (!readOnly.active()) GTEST_SKIP() << "no way to make a read-only folder here";
  EXPECT_EQ(storedRows(medium / "results.sqlite"), rows);
  EXPECT_EQ(ResultStore(medium / "results.sqlite", ResultStore::Access::ReadOnly).summary().job, Job::Offers);
}

// A store of the version before lists had a fifth column is read as it is,
// and upgraded when a program writes to it; a resumed run cuts the list back.
TEST_F(ResultStoreFile, AnEarlierVersionsStoreIsReadAndUpgraded) {
  const fs::path path = dir / "v1.sqlite";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(utf8Of(path).c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE meta(key TEXT PRIMARY KEY, value);"
                         "CREATE TABLE rows(idx INTEGER PRIMARY KEY, c0 BLOB NOT NULL, c1 BLOB NOT NULL,"
                         " c2 BLOB NOT NULL, c3 BLOB NOT NULL);"
                         "INSERT INTO meta VALUES('job', 2), ('clean_end', 1);"
                         "INSERT INTO rows VALUES(0, 'a', 'b', 'c', 'd'), (1, 'e', 'f', 'g', 'h');"
                         "PRAGMA application_id=1196183122; PRAGMA user_version=1;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  const std::vector<ResultRow> rows{{"a", "b", "c", "d"}, {"e", "f", "g", "h"}};
  EXPECT_EQ(storedRows(path), rows);
  {
    ResultStore store(path);
    EXPECT_EQ(store.summary().columns, kJobColumns);
    store.begin();
    store.appendRow(2, {"i", "j", "k", "l", "keyword"});
    store.truncateRows(1);
    store.commit();
  }
  EXPECT_EQ(storedRows(path), std::vector<ResultRow>{rows[0]});
  ResultStore store(path);
  store.begin();
  store.setJob(Job::Offers, headingsOf(Job::Offers), kBatchColumns);
  store.appendRow(1, {"i", "j", "k", "l", "keyword"});
  store.commit();
  EXPECT_EQ(store.summary().columns, kBatchColumns);
  EXPECT_EQ(storedRows(path).back()[kKeywordColumn], "keyword");
}

TEST_F(ResultStoreFile, AFolderThatTakesNoFileIsAFaultAtOpen) {
  const fs::path folder = dir / "locked";
  fs::create_directories(folder);
  ReadOnlyFolder readOnly(folder);
  if (!readOnly.active()) GTEST_SKIP() << "no way to make a read-only folder here";
  StoreWriter writer(folder / "results.sqlite");
  EXPECT_EQ(writer.previous().rows, 0u);
  writer.reset(Job::Offers, {});
  writer.append(0, {"a", "b", "c", "d"});
  writer.close(true);
  EXPECT_TRUE(writer.takeFault());
}

}  // namespace
}  // namespace gleaner::testing
