// Batches of keywords and items through gleaner-cli, and runs killed at any
// moment that go on where they stood: the list in the store equals what one
// uninterrupted run gives, row for row.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "CliFixture.h"
#include "engine/RunProgress.h"
#include "store/ResultStore.h"
#include "store/StoreWriter.h"
#include "text/PathText.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;

class BatchResume : public CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    dir = std::filesystem::path(::testing::TempDir()) / "batch-resume";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  std::string file(const std::string& name, const std::string& text) {
    const std::filesystem::path path = dir / name;
    std::ofstream(path, std::ios::binary) << text;
    return utf8Of(path);
  }
  std::string store(const std::string& name) const { return utf8Of(dir / name); }
  static std::vector<ResultRow> storedRows(const std::string& path) {
    std::vector<ResultRow> rows;
    ResultStore(pathFromUtf8(path), ResultStore::Access::ReadOnly).readRows(0, [&](std::size_t, ResultRow&& row) {
      rows.push_back(std::move(row));
      return true;
    });
    return rows;
  }
  // The requests the site has had since it was last cleared, on one host.
  std::size_t asked(const std::string& host) const { return targetsOn(host).size(); }

  std::filesystem::path dir;
};

// Each keyword's rows carry it in a fifth column; a keyword that ends early
// does not end the batch, and the summary gives each one's outcome.
TEST_F(BatchResume, ABatchWalksEachKeywordAndTellsHowEachEnded) {
  const std::string list = file("keywords.txt", "\xEF\xBB\xBF# walnuts first\n核桃\n\n  tiny \nmissing3\n");
  const std::string json = utf8Of(dir / "summary.json");
  Finished run = runCli({"offers", "--keywords-file", list, "--pages", "3", "--header", "--json-summary", json}, env());
  EXPECT_EQ(run.status, 4) << run.err << ": one keyword ended early";
  std::vector<ResultRow> expected;
  const auto add = [&](const std::string& keyword, int pages) {
    for (int page = 1; page <= pages; ++page) {
      for (ResultRow row : expectedOfferRows(keyword, page)) {
        row[kKeywordColumn] = keyword;
        expected.push_back(row);
      }
    }
  };
  add(gbkText("核桃"), 3);
  add("tiny", 3);
  add("missing3", 2);
  std::ostringstream csv;
  cli::RowWriter writer(csv, false, false);
  writer.setColumns(kBatchColumns);
  writer.write(headingsOf(Job::Offers));
  for (const ResultRow& row : expected) writer.write(row);
  EXPECT_EQ(run.out, csv.str());
  EXPECT_NE(run.err.find("第3/3个关键词「missing3」：第3页下载失败（HTTP 404）"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("共3个关键词（1个提前结束）：采集结束：共8页"), std::string::npos) << run.err;
  const std::string summary = readFile(pathFromUtf8(json));
  for (const std::string& part :
       {std::string("\"outcome\": \"page-failed\""), std::string("{\"keyword\": \"核桃\", \"outcome\": \"finished\", \"pages\": 3"),
        std::string("{\"keyword\": \"missing3\", \"outcome\": \"page-failed\", \"pages\": 2")}) {
    EXPECT_NE(summary.find(part), std::string::npos) << part << "\n" << summary;
  }

  run = runCli({"sellers", "--keywords-file", file("two.txt", "empty\ntiny\n"), "--pages", "2"}, env());
  EXPECT_EQ(run.status, 0) << run.err << ": results that end are no failure";
  run = runCli({"buyers", "--item-urls-file",
                file("items.txt", "http://item.taobao.com/item.htm?id=10000000001\n")},
               env());
  EXPECT_EQ(run.status, 1) << run.err << ": nothing to walk for any item";
  for (const std::string& nothing : {std::string("\n# none\n  \n"), std::string()}) {
    run = runCli({"offers", "--keywords-file", file("none.txt", nothing)}, env());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("没有要采集的关键词"), std::string::npos) << run.err;
  }
  run = runCli({"offers", "--keywords-file", list, "--keyword", "x"}, env());
  EXPECT_EQ(run.status, 2);
}

// A batch killed without warning at one moment after another (between two
// pages, in the middle of a page while an offer page is on its way, between
// two keywords), each time going on with `resume`: the store ends with the
// rows of one uninterrupted run, in its order, none twice, none missing.
TEST_F(BatchResume, AKilledBatchGoesOnWhereItStood) {
  const std::string list = file("keywords.txt", "核桃\ntiny\n");
  const std::vector<std::string> args = {"offers", "--keywords-file", list, "--pages", "2"};
  const std::string whole = store("whole.sqlite");
  auto withStore = [&](const std::string& path) {
    auto all = args;
    all.insert(all.end(), {"--store", path});
    return all;
  };
  ASSERT_EQ(runCli(withStore(whole), env()).status, 0);
  const std::vector<ResultRow> expected = storedRows(whole);
  std::size_t rows = 0;
  for (int page = 1; page <= 2; ++page) rows += expectedOfferRows(gbkText("核桃"), page).size() + 1;  // tiny: one a page
  ASSERT_EQ(expected.size(), rows);

  const std::string killed = store("killed.sqlite");
  // Kills the program the moment the site has had `count` requests on host.
  const auto killAt = [&](const std::string& host, std::size_t count) {
    return [=, this](testing::ChildProcess& cli, const Finished&) {
      if (asked(host) >= count) cli.kill();
    };
  };
  site.clearRequests();
  // Between two pages: the request for the second result page has gone out.
  Finished run = runCli(withStore(killed), env(), killAt("s.1688.com", 2));
  EXPECT_EQ(run.status, testing::ChildProcess::kKilledStatus);
  // In the middle of the second page, an offer page on its way.
  site.clearRequests();
  run = runCli({"resume", "--store", killed}, env(), killAt("detail.1688.com", 5));
  EXPECT_EQ(run.status, testing::ChildProcess::kKilledStatus);
  // Between the keywords: the second keyword's first page has been asked for.
  site.clearRequests();
  run = runCli({"resume", "--store", killed}, env(), killAt("s.1688.com", 2));
  EXPECT_EQ(run.status, testing::ChildProcess::kKilledStatus);
  run = runCli({"resume", "--store", killed}, env());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(storedRows(killed), expected);

  // What has ended, or never began, cannot go on.
  run = runCli({"resume", "--store", killed}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("已经结束"), std::string::npos) << run.err;
  run = runCli({"resume", "--store", store("none.sqlite")}, env());
  EXPECT_EQ(run.status, 2);
  // Nor a run whose list has lost rows since (emptied by another run that
  // was refused, say): going on would leave a gap where they stood.
  const std::string emptied = store("emptied.sqlite");
  {
    StoreWriter writer(pathFromUtf8(emptied));
    writer.reset(Job::Offers, headingsOf(Job::Offers));
    RunRequest request;
    request.keyword = "tiny";
    request.pages = 3;
    writer.setFacts("run", request.fields());
    writer.setFacts("progress", RunProgress{0, 2, "http://s.1688.com/", 5, {}}.fields());
    writer.close(true);
  }
  run = runCli({"resume", "--store", emptied}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("无法接着采集"), std::string::npos) << run.err;
}

// A stopped buyers run goes on among its review pages, the item's title kept.
TEST_F(BatchResume, AStoppedBuyersRunGoesOnAmongItsReviewPages) {
  const std::string whole = store("whole.sqlite");
  ASSERT_EQ(runCli({"buyers", "--store", whole}, env()).status, 0);
  const std::string stopped = store("stopped.sqlite");
  site.clearRequests();
  bool interrupted = false;
  Finished run = runCli({"buyers", "--store", stopped}, env(), [&](testing::ChildProcess& cli, const Finished&) {
    if (!interrupted && asked("rate.taobao.com") >= 3) interrupted = cli.interrupt();
  });
  ASSERT_TRUE(interrupted);
  EXPECT_EQ(run.status, 130) << run.err;
  site.clearRequests();
  run = runCli({"resume", "--store", stopped}, env());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(targetsOn("item.taobao.com").empty()) << "the item page is not asked for again";
  EXPECT_EQ(storedRows(stopped), storedRows(whole));
}

}  // namespace
}  // namespace gleaner::e2e
