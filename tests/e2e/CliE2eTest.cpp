// gleaner-cli as a user or a script drives it: flags, rows on standard
// output, status on standard error, exit status, Ctrl-C.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "SiteFixture.h"
#include "cli/RowWriter.h"
#include "support/ChildProcess.h"
#include "text/GbkConvert.h"
#include "text/PathText.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;

struct Finished {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs gleaner-cli with args and extra environment entries, calling
// whileRunning every few milliseconds until it ends. A run that outlives two
// minutes is killed and fails the test.
Finished runCli(const std::vector<std::string>& args, const std::vector<std::string>& env,
                const std::function<void(ChildProcess&)>& whileRunning = {}) {
  ChildProcess child(GLEANER_CLI_PATH, args, env);
  EXPECT_TRUE(child.started());
  const auto deadline = std::chrono::steady_clock::now() + 120s;
  std::optional<int> status;
  while (child.started() && !(status = child.wait(20ms))) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "gleaner-cli did not end";
      child.kill();
      status = child.wait(10s);
      break;
    }
    if (whileRunning) whileRunning(child);
  }
  return {status.value_or(-1), child.out(), child.err()};
}

std::string csvOf(const std::vector<ResultRow>& rows, bool tsv = false, bool gbk = false) {
  std::ostringstream out;
  cli::RowWriter writer(out, tsv, gbk);
  for (const auto& row : rows) writer.write(row);
  return out.str();
}

class CliE2e : public SiteFixture {
 protected:
  std::vector<std::string> env() const {
    return {"GLEANER_CONNECT_TO=" + site.connectToList(), "GLEANER_RULE_SERVER=" + rules.hostPort()};
  }
};

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
  std::ifstream file(path, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::string header = gbkText("商品名称\t卖家ID\t卖家旺旺昵称\t信用等级\n");
  EXPECT_EQ(written, header + csvOf(expectedSellerRows(gbkText("核桃"), 0, gbkText("所有信用等级")), true, true));
}

// Chinese names reach the file system as typed: the folder and the file
// show under their own names, not as question marks or code-page bytes.
TEST_F(CliE2e, AChineseOutputNameIsCreatedAsTyped) {
  const std::filesystem::path folder =
      pathFromUtf8(::testing::TempDir()) / pathFromUtf8("采集结果-" + std::to_string(testing::currentProcessId()));
  std::filesystem::create_directories(folder);
  const std::string out = utf8FromPath(folder / pathFromUtf8("核桃 行.csv"));
  const Finished run = runCli({"offers", "--keyword", "核桃", "--pages", "0", "--out", out}, env());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.empty());
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(utf8FromPath(entry.path().filename()));
  EXPECT_EQ(names, std::vector<std::string>{"核桃 行.csv"});
  std::ifstream file(pathFromUtf8(out), std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, csvOf(expectedOfferRows(gbkText("核桃"), 1)));
  file.close();
  std::filesystem::remove_all(folder);
}

TEST_F(CliE2e, RefusedRunAndBadUsageExitWithTwo) {
  Finished run = runCli({"offers", "--keyword", ""}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("请填写关键词"), std::string::npos);
  run = runCli({"offers", "--pages", ""}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("请填写搜索的页数"), std::string::npos);
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

TEST_F(CliE2e, ExitsWithOneWhenNoResultPageCouldBeDownloaded) {
  const Finished run = runCli({"buyers", "--item-url", "http://item.taobao.com/item.htm?id=10000000001"}, env());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out.empty());
  EXPECT_NE(run.err.find("Download failed!"), std::string::npos);

  const Finished unreachable = runCli({"offers", "--pages", "1"}, {"GLEANER_CONNECT_TO=s.1688.com:80:127.0.0.1:1",
                                                                   "GLEANER_RULE_SERVER=" + rules.hostPort()});
  EXPECT_EQ(unreachable.status, 1);
}

TEST_F(CliE2e, CtrlCStopsTheRunAndWritesTheRowsFoundSoFar) {
  bool interrupted = false;
  bool delivered = false;
  const Finished run = runCli({"offers", "--keyword", "slow", "--pages", "5"}, env(), [&](ChildProcess& cli) {
    if (!interrupted && site.requests().size() == 1) {
      interrupted = true;
      delivered = cli.interrupt();
      if (!delivered) cli.kill();
    }
  });
  EXPECT_TRUE(interrupted);
  if (!delivered) GTEST_SKIP() << "this system cannot send the program Ctrl-Break (Wine)";
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, csvOf(expectedOfferRows("slow", 1)));
  EXPECT_NE(run.err.find("任务完成！"), std::string::npos);
  int searches = 0;
  for (const auto& request : site.requests()) searches += request.host == "s.1688.com";
  EXPECT_EQ(searches, 1);
}

}  // namespace
}  // namespace gleaner::e2e
