// The first minutes on a machine without a display (over SSH, say): the
// window cannot start, so the program and the start script say what to do
// instead, and the start script with --sample-site shows the engine
// collecting rows from the sample site.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli/RowWriter.h"
#include "sample-site/SampleSite.h"
#include "support/TimedChild.h"
#include "text/GbkConvert.h"

namespace gleaner::testing {
namespace {

using namespace std::chrono_literals;

const std::vector<std::string> kNoDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "GLEANER_CONNECT_TO", "GLEANER_RULE_SERVER"};

std::string advice() {
  std::ifstream in(std::string(GLEANER_SOURCE_DIR) + "/res/no-display.txt", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string csvLine(const ResultRow& row) {
  std::ostringstream out;
  cli::RowWriter(out, false, false).write(row);
  return out.str();
}

// True when no live process of the group is left (a zombie that nobody has
// reaped yet counts as gone), polled for up to limit.
bool groupGone(pid_t group, std::chrono::milliseconds limit = 5s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    bool alive = false;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
      std::ifstream stat(entry.path() / "stat");
      std::string line;
      if (!std::getline(stat, line)) continue;
      // pid (name) state ppid pgrp …; the name may hold spaces and brackets.
      std::istringstream rest(line.substr(line.rfind(')') + 2));
      char state = 0;
      long parent = 0;
      long processGroup = 0;
      rest >> state >> parent >> processGroup;
      if (processGroup == group && state != 'Z') alive = true;
    }
    if (!alive) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
}

TEST(FirstStart, TheProgramWithoutADisplayGivesAdviceInsteadOfTheToolkitsError) {
  // Unset, set to a display nobody serves, and a Wayland name without a socket.
  const std::vector<std::vector<std::string>> settings = {
      {}, {"DISPLAY=:4711"}, {"WAYLAND_DISPLAY=gleaner-test-none", "XDG_RUNTIME_DIR=/tmp"}};
  for (const auto& set : settings) {
    SCOPED_TRACE(set.empty() ? std::string("none") : set.front());
    const ChildResult run = runChild({{GLEANER_APP_PATH}, kNoDisplay, set, {}}, 30s);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, advice());
    EXPECT_TRUE(run.out.empty());
  }
}

TEST(FirstStart, TheStartScriptWithoutADisplayAdvisesAndEnds) {
  const ChildResult run = runChild({{"scripts/start.sh"}, kNoDisplay, {}, GLEANER_SOURCE_DIR}, 30s);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, advice());
  EXPECT_TRUE(run.out.empty());
}

TEST(FirstStart, TheStartScriptWithTheSampleSiteShowsTheEngineCollecting) {
  if (!GLEANER_BUILD_IS_SOURCE_BUILD) GTEST_SKIP() << "start.sh runs the programs of <source>/build";
  const ChildResult run = runChild({{"scripts/start.sh", "--sample-site"}, kNoDisplay, {}, GLEANER_SOURCE_DIR}, 180s);
  ASSERT_FALSE(run.timedOut) << run.err;
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err.rfind(advice(), 0), 0u) << "the advice comes first: " << run.err;
  EXPECT_NE(run.err.find("任务完成！"), std::string::npos) << run.err;
  if (!groupGone(run.group)) {
    ADD_FAILURE() << "the sample site outlived the script";
    kill(-run.group, SIGKILL);
  }

  // The header, then the rows of pages 1 and 2 of 核桃: what the runner
  // itself writes when it is sent to a sample site.
  const std::string header = csvLine({gbk::fromUtf8("商品名称"), gbk::fromUtf8("商家名称"), gbk::fromUtf8("商家旺旺"),
                                      gbk::fromUtf8("网店地址")});
  ASSERT_EQ(run.out.rfind(header, 0), 0u) << run.out;
  EXPECT_GT(run.out.size(), header.size()) << "rows follow the header";
  sample::SampleSite site;
  site.start();
  const ChildResult direct = runChild({{GLEANER_CLI_PATH, "offers", "--keyword", "核桃", "--pages", "2", "--header"},
                                       kNoDisplay,
                                       {"GLEANER_CONNECT_TO=" + site.connectToList()},
                                       {}},
                                      120s);
  site.stop();
  ASSERT_EQ(direct.status, 0) << direct.err;
  EXPECT_EQ(run.out, direct.out);
}

}  // namespace
}  // namespace gleaner::testing
