#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "store/ResultStore.h"
#include "store/StoreError.h"
#include "store/StoreWriter.h"
#include "StoreTestSupport.h"
#include "support/ReadOnlyFolder.h"
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
  const std::vector<StoredRow> rows{
      {"\xBA\xCB\xCC\xD2\t\r\n", "90084618\t", "\x83\x7C\x96\x7C", "http://item.taobao.com/item.htm?id=1"},
      {"", "", "", ""},
      {std::string("nul\0inside", 10), "'quote\"", "=1+2", std::string(100000, 'x')},
  };
  const StoredRow headings{"\xC9\xCC\xC6\xB7\xC3\xFB\xB3\xC6", "b", "c", "d"};
  {
    ResultStore store(path);
    store.begin();
    store.setJob(1, headings);
    for (std::size_t i = 0; i < rows.size(); ++i) store.appendRow(i, rows[i]);
    store.commit();
    const StoreSummary summary = store.summary();
    EXPECT_EQ(summary.rows, 3u);
    EXPECT_EQ(summary.job, 1);
    EXPECT_EQ(summary.headings, headings);
  }
  EXPECT_EQ(storedRows(path), rows);

  // Changes inside the list keep the numbering whole.
  {
    ResultStore store(path);
    store.begin();
    store.insertRow(1, {"inserted", "", "", ""});
    store.updateRow(0, {"changed", "", "", ""});
    store.commit();
    store.begin();
    store.appendRow(4, {"never", "", "", ""});
    store.rollback();
  }
  const auto after = storedRows(path);
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[0][0], "changed");
  EXPECT_EQ(after[1][0], "inserted");
  EXPECT_EQ(after[2], rows[1]);
  EXPECT_EQ(after[3], rows[2]);

  ResultStore store(path);
  store.begin();
  store.clearRows();
  store.commit();
  EXPECT_EQ(store.summary().rows, 0u);
  EXPECT_EQ(store.summary().job, 1) << "emptying the rows keeps the job";
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
    EXPECT_TRUE(writer.faulted());
    writer.append(0, {"a", "b", "c", "d"});
    EXPECT_FALSE(writer.flush());
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
  const std::vector<StoredRow> rows{{"a", "b", "c", "d"}, {"e", "f", "g", "h"}};
  {
    StoreWriter writer(path);
    writer.reset(0, {"h0", "h1", "h2", "h3"});
    for (std::size_t i = 0; i < rows.size(); ++i) writer.append(i, rows[i]);
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(storedRows(path), rows) << "committed, still in the writer's log";
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
  EXPECT_EQ(ResultStore(medium / "results.sqlite", ResultStore::Access::ReadOnly).summary().job, 0);
}

TEST_F(ResultStoreFile, AFolderThatTakesNoFileIsAFaultAtOpen) {
  const fs::path folder = dir / "locked";
  fs::create_directories(folder);
  ReadOnlyFolder readOnly(folder);
  if (!readOnly.active()) GTEST_SKIP() << "no way to make a read-only folder here";
  StoreWriter writer(folder / "results.sqlite");
  EXPECT_TRUE(writer.faulted());
  EXPECT_EQ(writer.previous().rows, 0u);
  writer.reset(0, {});
  writer.append(0, {"a", "b", "c", "d"});
  writer.close(true);
  EXPECT_TRUE(writer.takeFault());
}

}  // namespace
}  // namespace gleaner::testing
