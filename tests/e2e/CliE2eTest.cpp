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

}  // namespace
}  // namespace gleaner::e2e
