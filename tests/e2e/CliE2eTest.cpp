// gleaner-cli as a user or a script drives it: flags, rows on standard
// output, status on standard error, exit status, Ctrl-C.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "SiteFixture.h"
#include "cli/RowWriter.h"
#include "store/ResultStore.h"
#include "support/ReadOnlyFolder.h"
#include "support/WorkbookCells.h"
#include "text/GbkConvert.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;

struct Finished {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs gleaner-cli with args and extra environment entries; calls duringRun
// with its pid once started.
Finished runCli(const std::vector<std::string>& args, const std::vector<std::string>& env,
                const std::function<void(pid_t, const std::string& err)>& whileRunning = {}) {
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe");
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    for (const auto& entry : env) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv{const_cast<char*>(GLEANER_CLI_PATH)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(GLEANER_CLI_PATH, argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  Finished result;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  char buffer[4096];
  while (open > 0) {
    if (poll(fds, 2, 20) > 0) {
      for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
        const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n <= 0) {
          close(fds[i].fd);
          fds[i].fd = -1;
          --open;
        } else {
          (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
        }
      }
    }
    if (whileRunning) whileRunning(pid, result.err);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
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
  const Finished run = runCli({"offers", "--keyword", "slow", "--pages", "5"}, env(), [&](pid_t pid, const std::string&) {
    if (!interrupted && site.requests().size() == 1) {
      interrupted = true;
      kill(pid, SIGINT);
    }
  });
  EXPECT_TRUE(interrupted);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, csvOf(expectedOfferRows("slow", 1)));
  EXPECT_NE(run.err.find("任务完成！"), std::string::npos);
  int searches = 0;
  for (const auto& request : site.requests()) searches += request.host == "s.1688.com";
  EXPECT_EQ(searches, 1);
}

// --store keeps the list in a result store; `export` writes a store out with
// the window's rules.
class CliStore : public CliE2e {
 protected:
  void SetUp() override {
    CliE2e::SetUp();
    dir = std::filesystem::temp_directory_path() / ("gleaner-cli-store-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    CliE2e::TearDown();
  }
  std::vector<ResultRow> storedRows(const std::filesystem::path& path) {
    std::vector<ResultRow> rows;
    ResultStore(path, ResultStore::Access::ReadOnly).readRows(0, [&](std::size_t, StoredRow&& row) {
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

TEST_F(CliStore, KeepsTheRowsOfTheRunWithoutChangingTheOutput) {
  const std::string store = (dir / "run.sqlite").string();
  {
    // An earlier run's list in the same file is replaced.
    const Finished earlier = runCli({"offers", "--keyword", "tiny", "--pages", "2", "--store", store}, env());
    ASSERT_EQ(earlier.status, 0) << earlier.err;
    EXPECT_EQ(csvOf(storedRows(store)), earlier.out) << "the store holds what was written";
  }
  const Finished plain = runCli({"sellers", "--pages", "-1", "--header"}, env());
  const Finished stored = runCli({"sellers", "--pages", "-1", "--header", "--store=" + store}, env());
  EXPECT_EQ(stored.status, 0) << stored.err;
  EXPECT_EQ(stored.out, plain.out) << "the output is the same byte for byte";
  const auto expected = expectedSellerRows(gbkText("核桃"), 0, gbkText("所有信用等级"));
  EXPECT_EQ(storedRows(store), expected);
  const StoreSummary summary = ResultStore(store, ResultStore::Access::ReadOnly).summary();
  EXPECT_EQ(summary.job, 2);
  EXPECT_EQ(summary.headings[3], gbkText("信用等级"));
  EXPECT_TRUE(summary.cleanEnd);

  // The store exported as the window would: headings and every row, or the sellers once.
  const std::filesystem::path csv = dir / "all.csv";
  Finished exported = runCli({"export", "--store", store, "--out", csv.string()}, {});
  EXPECT_EQ(exported.status, 0) << exported.err;
  EXPECT_NE(exported.err.find("已导出 " + std::to_string(expected.size()) + " 行到："), std::string::npos) << exported.err;
  const std::string written = readBytes(csv);
  EXPECT_EQ(written.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(written.substr(3, written.find("\r\n") - 3), "商品名称,卖家ID,卖家旺旺昵称,信用等级");
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), static_cast<long>(expected.size() + 1));

  const std::filesystem::path xlsx = dir / "sellers.XLSX";
  exported = runCli({"export", "--store", store, "--out", xlsx.string(), "--sellers"}, {});
  EXPECT_EQ(exported.status, 0) << exported.err;
  const auto cells = testing::workbookCells(xlsx.string());
  EXPECT_EQ(cells.at("A1"), "卖家ID");
  EXPECT_EQ(cells.at("C1"), "信用等级");
  EXPECT_EQ(cells.at("A2"), gbk::toUtf8(expected.front()[1]));
  EXPECT_EQ(cells.count("D1"), 0u);
}

TEST_F(CliStore, ExportRefusesBadUsageAndUnreadableStores) {
  Finished run = runCli({"export", "--store", (dir / "none.sqlite").string(), "--out", (dir / "x.csv").string()}, {});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot read the store"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "none.sqlite"));
  run = runCli({"export", "--store", (dir / "s.sqlite").string(), "--out", (dir / "x.txt").string()}, {});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(".xlsx or .csv"), std::string::npos);
  run = runCli({"export", "--out", (dir / "x.csv").string()}, {});
  EXPECT_EQ(run.status, 2);
  run = runCli({"export", "--store"}, {});
  EXPECT_EQ(run.status, 2);
  run = runCli({"export", "--help"}, {});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--sellers"), std::string::npos);

  // A store whose list is empty: nothing to write, and no file appears.
  const std::string store = (dir / "empty.sqlite").string();
  ASSERT_EQ(runCli({"offers", "--keyword", "", "--store", store}, env()).status, 2);
  run = runCli({"export", "--store", store, "--out", (dir / "x.csv").string()}, {});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("列表中没有可导出的信息"), std::string::npos);
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
    const Finished run = runCli({"offers", "--pages", "0", "--store", store.string()}, env());
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
