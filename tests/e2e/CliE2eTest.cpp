// gleaner-cli as a user or a script drives it: flags, rows on standard
// output, status on standard error, exit status, Ctrl-C.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "CliFixture.h"
#include "net/RawServer.h"
#include "engine/RunRequest.h"
#include "store/ResultStore.h"
#include "support/ChildProcess.h"
#include "support/ReadOnlyFolder.h"
#include "support/WorkbookCells.h"
#include "text/GbkConvert.h"
#include "text/PathText.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;

using CliE2e = CliFixture;

TEST_F(CliE2e, OfferRowsGoToStandardOutputAsCsv) {
  const Finished run = runCli({"offers", "--keyword", "核桃", "--pages", "0"}, env());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, csvOf(expectedOfferRows(gbkText("核桃"), 1)));
  EXPECT_NE(run.err.find("正在采集第1页\n"), std::string::npos);
  EXPECT_NE(run.err.find("任务完成！\n"), std::string::npos);
}

TEST_F(CliE2e, SellerRowsAsGbkTsvWithHeaderIntoAFile) {
  const std::string path = ::testing::TempDir() + "/sellers.tsv";
  const Finished run = runCli({"sellers", "--keyword=核桃", "--pages", "-1", "--format", "tsv", "--encoding", "gbk",
                               "--header", "--out", path},
                              env());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.empty());
  const std::string written = readFile(path);
  const std::string header = gbkText("商品名称\t卖家ID\t卖家旺旺昵称\t信用等级\n");
  EXPECT_EQ(written, header + csvOf(expectedSellerRows(gbkText("核桃"), 0, gbkText("所有信用等级")), true, true));
}

// Chinese names reach the file system as typed: the folder and the file
// show under their own names, not as question marks or code-page bytes.
TEST_F(CliE2e, AChineseOutputNameIsCreatedAsTyped) {
  const std::filesystem::path folder =
      pathFromUtf8(::testing::TempDir()) / pathFromUtf8("采集结果-" + std::to_string(testing::currentProcessId()));
  std::filesystem::create_directories(folder);
  const std::string out = utf8Of(folder / pathFromUtf8("核桃 行.csv"));
  const Finished run = runCli({"offers", "--keyword", "核桃", "--pages", "0", "--out", out}, env());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.empty());
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(utf8Of(entry.path().filename()));
  EXPECT_EQ(names, std::vector<std::string>{"核桃 行.csv"});
  // A CSV file opens in Excel on a Chinese Windows: it starts with a byte-order mark.
  EXPECT_EQ(readFile(pathFromUtf8(out)), "\xEF\xBB\xBF" + csvOf(expectedOfferRows(gbkText("核桃"), 1)));
  std::filesystem::remove_all(folder);
}

TEST_F(CliE2e, RefusedRunAndBadUsageExitWithTwo) {
  Finished run = runCli({"offers", "--keyword", ""}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("请填写关键词"), std::string::npos);
  run = runCli({"offers", "--pages", ""}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("请填写搜索的页数"), std::string::npos);
  run = runCli({"sellers", "--pages", "abc"}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("搜索的页数只能填写数字"), std::string::npos) << run.err;
  // A keyword of nothing GBK can hold: its characters are named, then refused.
  run = runCli({"offers", "--keyword", " \xF0\x9F\x98\x80"}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("关键词中的 \xF0\x9F\x98\x80 无法在网站上搜索"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("请填写关键词"), std::string::npos);
  EXPECT_TRUE(site.requests().empty());

  run = runCli({"offers", "--level", "x"}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--level"), std::string::npos);
  run = runCli({"fetch"}, env());
  EXPECT_EQ(run.status, 2);
  run = runCli({"--help"}, {});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("gleaner-cli sellers"), std::string::npos);
}

// The exit status follows how the run ended: 1 when nothing could be
// downloaded or the address is no item page with reviews, 4 when a page
// after the first ended the walk (the rows before it written).
TEST_F(CliE2e, TheExitStatusSaysHowTheRunEnded) {
  Finished run = runCli({"buyers", "--item-url", "http://item.taobao.com/item.htm?id=10000000001"}, env());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out.empty());
  EXPECT_NE(run.err.find("填写的网址不是有评价的淘宝单品页面。"), std::string::npos) << run.err;

  run = runCli({"offers", "--pages", "1"}, {"GLEANER_CONNECT_TO=s.1688.com:80:127.0.0.1:1",
                                           "GLEANER_RULE_SERVER=" + rules.hostPort()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("第1页下载失败（无法连接服务器），没有采集到任何页面："), std::string::npos) << run.err;

  run = runCli({"offers", "--keyword", "missing3", "--pages", "5"}, env());
  EXPECT_EQ(run.status, 4) << run.err;
  EXPECT_EQ(run.out, csvOf(concat({expectedOfferRows("missing3", 1), expectedOfferRows("missing3", 2)})));
  EXPECT_NE(run.err.find("第3页下载失败（HTTP 404），采集到第2页为止：采集结束"), std::string::npos) << run.err;
}

// Rows are written and flushed as they are found: the first rows are there
// while the run still goes on. Ctrl-C then stops it; what was written stays,
// whole rows in list order, and no further page is asked for.
TEST_F(CliE2e, RowsAppearAsFoundAndCtrlCKeepsThem) {
  bool interrupted = false;
  bool delivered = false;
  const Finished run =
      runCli({"offers", "--keyword", "tiny", "--pages", "50"}, env(), [&](ChildProcess& cli, const Finished& sofar) {
        if (!interrupted && sofar.out.find("\r\n") != std::string::npos) {
          interrupted = true;
          delivered = cli.interrupt();
        }
      });
  ASSERT_TRUE(interrupted) << run.err;
  ASSERT_TRUE(delivered) << "the stop request did not reach the program";
  EXPECT_EQ(run.status, 130) << run.err;
  std::vector<ResultRow> all;
  for (int page = 1; page <= 50; ++page) all = concat({all, expectedOfferRows("tiny", page)});
  const std::string expected = csvOf(all);
  ASSERT_FALSE(run.out.empty());
  EXPECT_LT(run.out.size(), expected.size()) << "the run was not stopped";
  EXPECT_EQ(expected.substr(0, run.out.size()), run.out);
  EXPECT_EQ(run.out.substr(run.out.size() - 2), "\r\n");
  EXPECT_NE(run.err.find("正在停止"), std::string::npos);
  EXPECT_NE(run.err.find("已停止：采集结束"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("任务完成！"), std::string::npos);
  EXPECT_LT(targetsOn("s.1688.com").size(), 50u);
}

// A kill leaves every row written so far in the file.
TEST_F(CliE2e, AKillLeavesTheRowsFoundSoFarInTheFile) {
  const std::string path = ::testing::TempDir() + "/killed.csv";
  bool killed = false;
  const Finished run =
      runCli({"offers", "--keyword", "tiny", "--pages", "50", "--out", path}, env(), [&](ChildProcess& cli, const Finished&) {
        if (!killed && readFile(path).find("\r\n") != std::string::npos) {
          killed = true;
          cli.kill();
        }
      });
  ASSERT_TRUE(killed);
  EXPECT_EQ(run.status, ChildProcess::kKilledStatus);
  const std::string written = readFile(path);
  std::vector<ResultRow> all;
  for (int page = 1; page <= 50; ++page) all = concat({all, expectedOfferRows("tiny", page)});
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(("\xEF\xBB\xBF" + csvOf(all)).substr(0, written.size()), written);
}

// A page that never comes: the first signal stops the run and, the page in
// hand being stuck, the process still ends within a few seconds; a second
// signal ends it at once. SIGTERM is taken like Ctrl-C. On Windows the
// requests are Ctrl-Break, which the program takes like Ctrl-C.
TEST_F(CliE2e, TheFirstSignalEndsTheProcessEvenWhenATransferHangs) {
  testing::RawServer hung([](testing::RawServer::Connection& connection) {
    connection.readHead();
    connection.holdOpen();
  });
  const std::vector<std::string> hungEnv = {"GLEANER_CONNECT_TO=s.1688.com:80:" + hung.hostPort(),
                                            "GLEANER_RULE_SERVER=" + rules.hostPort()};
  enum class Stop { Interrupt, Terminate };
  struct Case {
    std::vector<Stop> requests;
    std::chrono::seconds limit;
    int status;  // 128 + the first signal
  };
#ifdef _WIN32
  const int terminated = 130;  // the test's terminate is a Ctrl-Break there
#else
  const int terminated = 143;
#endif
  for (const auto& [requests, limit, status] : {Case{{Stop::Interrupt}, 6s, 130}, Case{{Stop::Terminate}, 6s, terminated},
                                               Case{{Stop::Interrupt, Stop::Interrupt}, 3s, 130}}) {
    const int before = hung.connections();
    std::chrono::steady_clock::time_point signalledAt;
    std::size_t sent = 0;
    const Finished run = runCli({"offers", "--pages", "3"}, hungEnv, [&](ChildProcess& cli, const Finished&) {
      if (hung.connections() > before && sent < requests.size()) {
        if (sent == 0) signalledAt = std::chrono::steady_clock::now();
        const bool delivered = requests[sent++] == Stop::Interrupt ? cli.interrupt() : cli.terminate();
        EXPECT_TRUE(delivered) << "the stop request did not reach the program";
      }
    });
    const auto took = std::chrono::steady_clock::now() - signalledAt;
    SCOPED_TRACE(requests.size());
    EXPECT_EQ(sent, requests.size());
    EXPECT_LT(took, limit) << run.err;
    EXPECT_EQ(run.status, status) << run.err;  // stopped, whatever came
    EXPECT_TRUE(run.out.empty());
  }
}

// A run that will not start leaves every file as it was: a refused setting,
// a summary file that cannot be created, or two outputs naming one file.
TEST_F(CliE2e, ARefusedRunEmptiesNoFile) {
  const std::filesystem::path out = pathFromUtf8(::testing::TempDir()) / "kept.csv";
  const std::filesystem::path store = pathFromUtf8(::testing::TempDir()) / "kept.sqlite";
  const auto keep = [&] { std::ofstream(out, std::ios::binary | std::ios::trunc) << "rows of yesterday\r\n"; };
  keep();
  const std::vector<std::vector<std::string>> refused = {
      {"offers", "--keyword", "", "--out", utf8Of(out)},
      {"offers", "--pages", "1", "--out", utf8Of(out), "--json-summary", "/nonexistent-folder/s.json"},
      {"offers", "--pages", "1", "--out", utf8Of(out), "--store", utf8Of(out)},
      {"offers", "--pages", "1", "--out", utf8Of(out), "--json-summary", utf8Of(out)},
      {"offers", "--pages", "1", "--out", utf8Of(out), "--store", utf8Of(out.parent_path() / "." / "kept.csv")},
  };
  for (const auto& args : refused) {
    const Finished run = runCli(args, env());
    EXPECT_EQ(run.status, 2) << args.back() << "\n" << run.err;
    EXPECT_EQ(readFile(out), "rows of yesterday\r\n") << args.back();
  }
  EXPECT_NE(runCli(refused[2], env()).err.find("不能是同一个文件"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(store));
  EXPECT_TRUE(site.requests().empty());
}

#ifndef _WIN32
// A reader that goes away (`| head`) is a stop: the run ends at once instead
// of collecting every page, and the store keeps every row found.
TEST_F(CliE2e, AClosedStandardOutputStopsTheRun) {
  const std::string store = ::testing::TempDir() + "/piped.sqlite";
  std::filesystem::remove(store);
  testing::ChildProcess shell(
      "/bin/bash",
      {"-c", "\"$0\" offers --keyword tiny --pages 50 --store \"$1\" | head -c 10 >/dev/null; exit ${PIPESTATUS[0]}",
       GLEANER_CLI_PATH, store},
      env());
  ASSERT_TRUE(shell.started());
  const auto status = shell.wait(60s);
  ASSERT_TRUE(status) << "the run went on after its output closed";
  EXPECT_EQ(*status, 141) << shell.err();
  EXPECT_NE(shell.err().find("输出已关闭"), std::string::npos) << shell.err();
  EXPECT_LT(targetsOn("s.1688.com").size(), 50u);
  const auto rows = ResultStore(store, ResultStore::Access::ReadOnly).summary().rows;
  EXPECT_GE(rows, 1u);
  EXPECT_EQ(rows, targetsOn("s.1688.com").size()) << "one row per tiny page read, each kept";
}
#endif

TEST_F(CliE2e, AnOutputFileThatCannotBeCreatedIsRefusedBeforeAnyPage) {
  const Finished run = runCli({"offers", "--pages", "1", "--out", "/nonexistent-folder/rows.csv"}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("无法创建输出文件 /nonexistent-folder/rows.csv"), std::string::npos) << run.err;
  EXPECT_TRUE(site.requests().empty());
}

// Pages were downloaded, but no extraction worked: that is no success.
// Rules that work and find nothing are.
TEST_F(CliE2e, ExitsWithThreeWhenEveryExtractionFailed) {
  const std::string emptyRules = ::testing::TempDir() + "/no-rules";
  std::filesystem::create_directories(emptyRules + "/ali");
  sample::SampleSite ruleless(sample::SampleSite::Options{{}, emptyRules, 3000ms});
  ruleless.start();
  const std::vector<std::string> brokenEnv = {"GLEANER_CONNECT_TO=" + site.connectToList(),
                                              "GLEANER_RULE_SERVER=127.0.0.1:" + std::to_string(ruleless.port())};
  Finished run = runCli({"offers", "--pages", "2"}, brokenEnv);
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_NE(run.err.find("规则文件"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());

  run = runCli({"offers", "--pages", "1"}, {"GLEANER_CONNECT_TO=" + site.connectToList(), "GLEANER_RULE_SERVER=127.0.0.1:1"});
  EXPECT_EQ(run.status, 3) << run.err;

  run = runCli({"offers", "--keyword", "empty", "--pages", "2"}, env());
  EXPECT_EQ(run.status, 0) << run.err << ": the site's results ended";
  EXPECT_TRUE(run.out.empty());
}

TEST_F(CliE2e, AValueFlagFollowedByAFlagLacksItsValue) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--keyword", "--help"}, std::vector<std::string>{"offers", "--keyword", "--help"},
        std::vector<std::string>{"offers", "--out", "--header"}}) {
    const Finished run = runCli(args, env());
    EXPECT_EQ(run.status, 2) << args[0];
    EXPECT_NE(run.err.find("needs a value"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_TRUE(site.requests().empty());
  // A negative page count is a value, and so is anything after "=".
  const Finished run = runCli({"offers", "--keyword=--", "--pages", "-1"}, env());
  EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(CliE2e, StatusLinesCarryNoControlCharacterOfAnAddress) {
  const Finished run = runCli({"buyers", "--item-url", "http://item.taobao.com/\x1B]0;owned\x07\x1B[2J"}, env());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Download failed!"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\x1B'), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\x07'), std::string::npos) << run.err;
}

// A stray lead byte before a tab must not swallow the tab's escape in TSV.
TEST(RowWriter, AStrayByteBeforeATabOrLineEndIsWrittenAloneInGbkTsv) {
  EXPECT_EQ(csvOf({{"a\xD6\tb", "\xB0\r\n", "\xFF\\", "\xD6\xD0\t"}}, true, true),
            "a\xD6\\tb\t\xB0\\r\\n\t\xFF\\\\\t\xD6\xD0\\t\n");
  // A real character whose trail byte is a backslash stays whole.
  EXPECT_EQ(csvOf({{"\xD5\\", "", "", ""}}, true, true), "\xD5\\\t\t\t\n");
}

// A cell's control characters reach a file or a pipe as collected, never a terminal.
TEST(RowWriter, ShowsAControlCharacterOfACellOnATerminalAsTheStatusLinesDo) {
  const ResultRow row{"\x1B]0;owned\x07", std::string("nul\0", 4), "\xD6\xD0", "a,b"};
  std::ostringstream file;
  std::ostringstream terminal;
  std::ostringstream terminalTsv;
  cli::RowWriter(file, false, true).write(row);
  cli::RowWriter(terminal, false, true, true).write(row);
  cli::RowWriter(terminalTsv, true, true, true).write(row);
  EXPECT_EQ(file.str(), std::string("\x1B]0;owned\x07,nul\0,\xD6\xD0,\"a,b\"\r\n", 26));
  EXPECT_EQ(terminal.str(), "?]0;owned?,nul?,\xD6\xD0,\"a,b\"\r\n");
  EXPECT_EQ(terminalTsv.str(), "?]0;owned?\tnul?\t\xD6\xD0\ta,b\n");
}

// --store keeps the list in a result store; `export` writes a store out with
// the window's rules.
class CliStore : public CliE2e {
 protected:
  void SetUp() override {
    CliE2e::SetUp();
    dir = std::filesystem::temp_directory_path() / ("gleaner-cli-store-" + std::to_string(testing::currentProcessId()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    CliE2e::TearDown();
  }
  std::vector<ResultRow> storedRows(const std::filesystem::path& path) {
    std::vector<ResultRow> rows;
    ResultStore(path, ResultStore::Access::ReadOnly).readRows(0, [&](std::size_t, ResultRow&& row) {
      rows.push_back(std::move(row));
      return true;
    });
    return rows;
  }
  static std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir;
};

// Chinese file names throughout, as a user on Windows picks them.
TEST_F(CliStore, KeepsTheRowsOfTheRunWithoutChangingTheOutput) {
  const std::string store = utf8Of(dir / pathFromUtf8("采集结果.sqlite"));
  {
    // An earlier run's list in the same file is replaced.
    const Finished earlier = runCli({"offers", "--keyword", "tiny", "--pages", "2", "--store", store}, env());
    ASSERT_EQ(earlier.status, 0) << earlier.err;
    EXPECT_EQ(csvOf(storedRows(pathFromUtf8(store))), earlier.out) << "the store holds what was written";
  }
  const Finished plain = runCli({"sellers", "--pages", "-1", "--header"}, env());
  const Finished stored = runCli({"sellers", "--pages", "-1", "--header", "--store=" + store}, env());
  EXPECT_EQ(stored.status, 0) << stored.err;
  EXPECT_EQ(stored.out, plain.out) << "the output is the same byte for byte";
  const auto expected = expectedSellerRows(gbkText("核桃"), 0, gbkText("所有信用等级"));
  EXPECT_EQ(storedRows(pathFromUtf8(store)), expected);
  const StoreSummary summary = ResultStore(pathFromUtf8(store), ResultStore::Access::ReadOnly).summary();
  EXPECT_EQ(summary.job, Job::Sellers);
  EXPECT_EQ(summary.headings[3], gbkText("信用等级"));
  EXPECT_TRUE(summary.cleanEnd);
  // And the run's request and outcome.
  ResultStore kept(pathFromUtf8(store), ResultStore::Access::ReadOnly);
  const auto request = RunRequest::fromFields(kept.facts("run"));
  ASSERT_TRUE(request);
  EXPECT_EQ(request->job, Job::Sellers);
  EXPECT_EQ(request->keyword, gbkText("核桃"));
  EXPECT_EQ(request->pages, -1);
  const StoreFacts outcome = kept.facts("outcome");
  ASSERT_FALSE(outcome.empty());
  EXPECT_EQ(outcome.front(), (std::pair<std::string, std::string>{"kind", "finished"}));

  // The store exported as the window would: headings and every row, or the sellers once.
  const std::filesystem::path csv = dir / pathFromUtf8("全部信息.csv");
  Finished exported = runCli({"export", "--store", store, "--out", utf8Of(csv)}, {});
  EXPECT_EQ(exported.status, 0) << exported.err;
  EXPECT_NE(exported.err.find("已导出 " + std::to_string(expected.size()) + " 行到："), std::string::npos) << exported.err;
  const std::string written = readBytes(csv);
  EXPECT_EQ(written.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(written.substr(3, written.find("\r\n") - 3), "商品名称,卖家ID,卖家旺旺昵称,信用等级");
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), static_cast<long>(expected.size() + 1));

  const std::filesystem::path xlsx = dir / pathFromUtf8("卖家信息.XLSX");
  exported = runCli({"export", "--store", store, "--out", utf8Of(xlsx), "--sellers"}, {});
  EXPECT_EQ(exported.status, 0) << exported.err;
  const auto cells = testing::workbookCells(xlsx);
  EXPECT_EQ(cells.at("A1"), "卖家ID");
  EXPECT_EQ(cells.at("C1"), "信用等级");
  EXPECT_EQ(cells.at("A2"), gbk::toUtf8(expected.front()[1]));
  EXPECT_EQ(cells.count("D1"), 0u);
}

TEST_F(CliStore, ExportRefusesBadUsageAndUnreadableStores) {
  Finished run = runCli({"export", "--store", utf8Of(dir / "none.sqlite"), "--out", utf8Of(dir / "x.csv")}, {});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("无法读取结果文件"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "none.sqlite"));
  run = runCli({"export", "--store", utf8Of(dir / "s.sqlite"), "--out", utf8Of(dir / "x.txt")}, {});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(".xlsx or .csv"), std::string::npos);
  run = runCli({"export", "--out", utf8Of(dir / "x.csv")}, {});
  EXPECT_EQ(run.status, 2);
  run = runCli({"export", "--store"}, {});
  EXPECT_EQ(run.status, 2);
  run = runCli({"export", "--help"}, {});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--sellers"), std::string::npos);

  // A store whose list is empty: nothing to write, and no file appears.
  const std::string store = utf8Of(dir / "empty.sqlite");
  ASSERT_EQ(runCli({"offers", "--keyword", "empty", "--store", store}, env()).status, 0);
  run = runCli({"export", "--store", store, "--out", utf8Of(dir / "x.csv")}, {});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("列表中没有可导出的信息"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.csv"));

  // A list of no known job has no columns to export by.
  const std::filesystem::path strange = dir / "job7.sqlite";
  {
    ResultStore written(strange);
    written.begin();
    written.setJob(Job::Offers, {"a", "b", "c", "d"});
    written.appendRow(0, {"w", "x", "y", "z"});
    written.commit();
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(utf8Of(strange).c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE meta SET value = 7 WHERE key = 'job'", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  run = runCli({"export", "--store", utf8Of(strange), "--out", utf8Of(dir / "x.csv")}, {});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("中的列表不属于任何一种采集"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "x.csv"));
}

TEST_F(CliStore, AStoreThatCannotBeWrittenIsToldOnceAndTheRunGoesOn) {
  const std::filesystem::path locked = dir / "locked";
  std::filesystem::create_directories(locked);
  const std::filesystem::path damaged = dir / "damaged.sqlite";
  std::ofstream(damaged, std::ios::binary) << std::string(4096, 'Z');
  testing::ReadOnlyFolder readOnly(locked);
  for (const std::filesystem::path& store : {locked / "run.sqlite", damaged}) {
    if (store.parent_path() == locked && !readOnly.active()) continue;
    const Finished run = runCli({"offers", "--pages", "0", "--store", utf8Of(store)}, env());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, csvOf(expectedOfferRows(gbkText("核桃"), 1)));
    const std::string told = "结果无法保存到 --store 文件";
    const std::size_t first = run.err.find(told);
    EXPECT_NE(first, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(told, first + 1), std::string::npos) << "told once";
  }
  EXPECT_EQ(readBytes(damaged), std::string(4096, 'Z')) << "a damaged store is left for rescue";
}

}  // namespace
}  // namespace gleaner::e2e
