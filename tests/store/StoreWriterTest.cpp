#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "store/ListLoader.h"
#include "store/ResultModel.h"
#include "store/StoreError.h"
#include "store/StoreWriter.h"
#include "StoreTestSupport.h"
#include "support/FileSizeLimit.h"
#include "support/WaitFor.h"

namespace gleaner::testing {
namespace {

using StoreWriting = StoreFolder;
namespace fs = std::filesystem;

ResultRow rowNumber(std::size_t n) {
  return {"\xBA\xCB\xCC\xD2 " + std::to_string(n), "id" + std::to_string(n % 97), "nick\t", "http://x/" + std::to_string(n)};
}

std::vector<ResultRow> modelRows(const ResultModel& model) {
  std::vector<ResultRow> rows;
  EXPECT_TRUE(model.copyRows(model.state().epoch, 0, model.rowCount(), rows));
  return rows;
}

TEST_F(StoreWriting, RecordsWhetherTheProgramEndedCleanly) {
  const fs::path path = dir / "results.sqlite";
  {
    StoreWriter writer(path);
    EXPECT_TRUE(writer.previous().cleanEnd) << "a new store";
    EXPECT_EQ(writer.previous().rows, 0u);
    writer.reset(Job::Sellers, {"h0", "h1", "h2", "h3"});
    writer.append(0, rowNumber(0));
    writer.close(true);
  }
  {
    StoreWriter writer(path);
    EXPECT_TRUE(writer.previous().cleanEnd);
    EXPECT_EQ(writer.previous().rows, 1u);
    EXPECT_EQ(writer.previous().job, Job::Sellers);
    // While a program uses the store it is marked unclean: a crash now is seen next time.
    EXPECT_FALSE(ResultStore(path, ResultStore::Access::ReadOnly).summary().cleanEnd);
    writer.append(1, rowNumber(1));
    writer.close(false);  // threads still running at the end
  }
  StoreWriter writer(path);
  EXPECT_FALSE(writer.previous().cleanEnd);
  EXPECT_EQ(writer.previous().rows, 2u);
}

TEST_F(StoreWriting, WritesOnItsOwnWithoutAClose) {
  const fs::path path = dir / "results.sqlite";
  StoreWriter writer(path);
  const auto seen = [&](std::size_t rows) {
    return waitFor([&] { return ResultStore(path, ResultStore::Access::ReadOnly).summary().rows == rows; },
                   std::chrono::seconds(10));
  };
  // The rows reach the file by themselves (another reader sees them), also
  // a row that comes to a writer which has gone idle after a batch.
  writer.reset(Job::Offers, {});
  for (std::size_t i = 0; i < 10; ++i) writer.append(i, rowNumber(i));  // fewer than a batch
  EXPECT_TRUE(seen(10));
  writer.append(10, rowNumber(10));
  EXPECT_TRUE(seen(11));
  // So do the facts of the run, beside the rows.
  writer.setFacts("run", {{"job", "0"}, {"keyword", "\xBA\xCB\xCC\xD2"}});
  writer.close(true);
  EXPECT_EQ(ResultStore(path, ResultStore::Access::ReadOnly).facts("run"),
            (StoreFacts{{"job", "0"}, {"keyword", "\xBA\xCB\xCC\xD2"}}));
}

// The model tells the store every change in its own order; after any mix of
// changes from several threads the store holds exactly the model's list.
TEST_F(StoreWriting, TheStoreHoldsExactlyTheListAfterAnyMixOfChanges) {
  const fs::path path = dir / "results.sqlite";
  {
    // An earlier session's list: replaced by the first change of this one.
    StoreWriter earlier(path);
    earlier.reset(Job::Buyers, {"old", "", "", ""});
    for (std::size_t i = 0; i < 50; ++i) earlier.append(i, {"old", "", "", ""});
    earlier.close(true);
  }
  StoreWriter::Options options;
  options.batch = 64;
  options.maxPerTransaction = 100;
  StoreWriter writer(path, options);
  ResultModel model;
  model.attachStore(&writer);
  EXPECT_TRUE(model.untouched());

  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 random(static_cast<unsigned>(t));
      for (int i = 0; i < 3000; ++i) {
        const unsigned what = random() % 1000;
        if (what < 3) {
          model.clear();
        } else if (what < 6) {
          model.setJob(kJobs[random() % 3], {"a" + std::to_string(t), "b", "c", "d"});
        } else {
          model.append(rowNumber(static_cast<std::size_t>(t * 10000 + i)));
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  model.detachStore();
  writer.close(true);
  EXPECT_FALSE(writer.takeFault());
  EXPECT_EQ(storedRows(path), modelRows(model));
  const StoreSummary summary = ResultStore(path, ResultStore::Access::ReadOnly).summary();
  EXPECT_EQ(summary.job, model.job());
  EXPECT_EQ(summary.headings, model.headings());
}

TEST_F(StoreWriting, ARestoredListIsTheStoresOwnAndLaterRowsFollowIt) {
  const fs::path path = dir / "results.sqlite";
  {
    StoreWriter writer(path);
    ResultModel model;
    model.attachStore(&writer);
    model.setJob(Job::Sellers, {"h0", "h1", "h2", "h3"});
    for (std::size_t i = 0; i < 12000; ++i) model.append(rowNumber(i));
    model.detachStore();
    writer.close(false);  // as after a crash
  }
  StoreWriter writer(path);
  ASSERT_FALSE(writer.previous().cleanEnd);
  ASSERT_EQ(writer.previous().rows, 12000u);

  std::vector<std::size_t> steps;
  EXPECT_FALSE(ListLoader::load(path, [&](std::size_t done, std::size_t total) {
    steps.push_back(done);
    EXPECT_EQ(total, 12000u);
    return false;
  })) << "given up at the first step";
  auto loaded = ListLoader::load(path, [&](std::size_t done, std::size_t) {
    steps.push_back(done);
    return true;
  });
  ASSERT_TRUE(loaded);
  EXPECT_EQ(steps, (std::vector<std::size_t>{5000, 5000, 10000}));
  EXPECT_EQ(loaded->job, Job::Sellers);

  ResultModel model;
  model.attachStore(&writer);
  ASSERT_TRUE(model.adopt(loaded->job, loaded->headings, std::move(loaded->rows)));
  EXPECT_FALSE(model.untouched());
  EXPECT_EQ(model.rowCount(), 12000u);
  model.append(rowNumber(12000));
  EXPECT_FALSE(model.adopt(Job::Offers, {}, RowTable())) << "only an untouched list is replaced";
  model.detachStore();
  writer.close(true);
  const auto rows = storedRows(path);
  ASSERT_EQ(rows.size(), 12001u);
  EXPECT_EQ(rows, modelRows(model));
}

// 全部删除 sets the list aside: it comes back whole, and the store goes on
// holding it (across a close too) until the next change of the list.
TEST_F(StoreWriting, ASetAsideListStaysInTheStoreUntilTheNextChange) {
  const fs::path path = dir / "results.sqlite";
  StoreWriter writer(path);
  ResultModel model;
  model.attachStore(&writer);
  model.setAside();
  EXPECT_FALSE(model.hasSetAside()) << "an empty list has nothing to set aside";
  model.setJob(Job::Buyers, {"h0", "h1", "h2", "h3"});
  for (std::size_t i = 0; i < 3; ++i) model.append(rowNumber(i));
  const std::vector<ResultRow> before = modelRows(model);

  model.setAside();
  EXPECT_EQ(model.rowCount(), 0u);
  ASSERT_TRUE(model.putBackSetAside());
  EXPECT_EQ(modelRows(model), before);
  EXPECT_EQ(model.job(), Job::Buyers);
  EXPECT_FALSE(model.putBackSetAside()) << "once";

  model.setAside();
  model.detachStore();
  writer.close(true);
  EXPECT_EQ(storedRows(path), before) << "the store keeps what a put-back would restore";

  StoreWriter next(path);
  EXPECT_EQ(next.previous().rows, 3u);
  model.attachStore(&next);
  model.append(rowNumber(7));  // a row of the next run: the set-aside list is given up
  EXPECT_FALSE(model.hasSetAside());
  model.detachStore();
  next.close(true);
  EXPECT_EQ(storedRows(path), std::vector<ResultRow>{rowNumber(7)});
}

TEST_F(StoreWriting, AFullDiskStopsTheStoreButNeverTheList) {
  const fs::path path = dir / "results.sqlite";
  StoreWriter::Options options;
  options.batch = 100;
  options.maxPerTransaction = 100;
  std::optional<FileSizeLimit> full;
  full.emplace(160 * 1024);
  if (!full->active()) GTEST_SKIP() << "no way to make a disk run full here";
  StoreWriter writer(path, options);
  ResultModel model;
  model.attachStore(&writer);
  model.setJob(Job::Offers, {});
  for (std::size_t i = 0; i < 5000; ++i) model.append(rowNumber(i));
  ASSERT_TRUE(waitFor([&] { return writer.takeFault().has_value(); }, std::chrono::seconds(30)));
  EXPECT_EQ(model.rowCount(), 5000u) << "the list keeps every row";
  // Later changes are dropped without a second report.
  model.append(rowNumber(5000));
  model.detachStore();
  writer.close(true);
  EXPECT_FALSE(writer.takeFault());
  full.reset();

  // What did reach the file is a whole beginning of the list.
  const auto rows = storedRows(path);
  EXPECT_GT(rows.size(), 0u);
  EXPECT_LT(rows.size(), 5000u);
  for (std::size_t i = 0; i < rows.size(); ++i) ASSERT_EQ(rows[i], rowNumber(i));
  EXPECT_FALSE(ResultStore(path, ResultStore::Access::ReadOnly).summary().cleanEnd)
      << "a store that missed rows never claims a clean end";
}

TEST(RowTables, HoldRowsOfAnySizeAcrossBlocks) {
  RowTable table;
  const ResultRow big{std::string(600000, 'a'), "", "b", std::string(300000, 'c')};
  for (std::size_t i = 0; i < 20000; ++i) table.append(i == 7 ? big : rowNumber(i));
  table.append({"", "", "", ""});
  ASSERT_EQ(table.size(), 20001u);
  EXPECT_EQ(table.row(7), big);
  EXPECT_EQ(table.row(19999), rowNumber(19999));
  EXPECT_EQ(table.cell(20000, 3), "");
  table.clear();
  EXPECT_TRUE(table.empty());
  table.append(rowNumber(1));
  EXPECT_EQ(table.row(0), rowNumber(1));
}

}  // namespace
}  // namespace gleaner::testing
