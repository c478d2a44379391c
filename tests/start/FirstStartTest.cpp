// The first minutes on a machine without a display (over SSH, say): the
// window cannot start, so the program and the start script say what to do
// instead, and the start script with --sample-site shows the engine
// collecting rows from the sample site.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "cli/RowWriter.h"
#include "sample-site/SampleSite.h"
#include "support/ChildProcess.h"
#include "text/GbkConvert.h"

namespace gleaner::testing {
namespace {

using namespace std::chrono_literals;

const ChildProcess::Environment kNoDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "GLEANER_CONNECT_TO", "GLEANER_RULE_SERVER"};
const std::filesystem::path kStartScript = std::filesystem::path(GLEANER_SOURCE_DIR) / "scripts" / "start.sh";

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
bool groupGone(long group, std::chrono::milliseconds limit = 5s) {
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
    ChildProcess::Environment changes = kNoDisplay;
    changes.insert(changes.end(), set.begin(), set.end());
    ChildProcess program(GLEANER_APP_PATH, {}, changes);
    ASSERT_TRUE(program.started()) << program.startError();
    EXPECT_EQ(program.wait(30s), 1);
    EXPECT_EQ(program.err(), advice());
    EXPECT_TRUE(program.out().empty());
  }
}

TEST(FirstStart, TheStartScriptWithoutADisplayAdvisesAndEnds) {
  ChildProcess script(kStartScript, {}, kNoDisplay, GLEANER_SOURCE_DIR);
  ASSERT_TRUE(script.started()) << script.startError();
  EXPECT_EQ(script.wait(30s), 1);
  EXPECT_EQ(script.err(), advice());
  EXPECT_TRUE(script.out().empty());
}

TEST(FirstStart, TheStartScriptWithTheSampleSiteShowsTheEngineCollecting) {
  if (!GLEANER_BUILD_IS_SOURCE_BUILD) GTEST_SKIP() << "start.sh runs the programs of <source>/build";
  ChildProcess script(kStartScript, {"--sample-site"}, kNoDisplay, GLEANER_SOURCE_DIR);
  ASSERT_TRUE(script.started()) << script.startError();
  const std::optional<int> status = script.wait(180s);
  ASSERT_TRUE(status) << "the script did not end: " << script.err();
  EXPECT_EQ(status, 0) << script.err();
  const std::string err = script.err();
  const std::string out = script.out();
  EXPECT_EQ(err.rfind(advice(), 0), 0u) << "the advice comes first: " << err;
  EXPECT_NE(err.find("任务完成！"), std::string::npos) << err;
  if (!groupGone(script.id())) {
    ADD_FAILURE() << "the sample site outlived the script";
    script.kill();
  }

  // The header, then the rows of pages 1 and 2 of 核桃: what the runner
  // itself writes when it is sent to a sample site.
  const std::string header = csvLine({gbk::fromUtf8("商品名称"), gbk::fromUtf8("商家名称"), gbk::fromUtf8("商家旺旺"),
                                      gbk::fromUtf8("网店地址")});
  ASSERT_EQ(out.rfind(header, 0), 0u) << out;
  EXPECT_GT(out.size(), header.size()) << "rows follow the header";
  sample::SampleSite site;
  site.start();
  std::string direct;
  std::string directErr;
  ChildProcess::Environment toTheSite = kNoDisplay;
  toTheSite.push_back("GLEANER_CONNECT_TO=" + site.connectToList());
  const std::optional<int> directStatus = runToEnd(
      GLEANER_CLI_PATH, {"offers", "--keyword", "核桃", "--pages", "2", "--header"}, 120s, &direct, &directErr, toTheSite);
  site.stop();
  ASSERT_EQ(directStatus, 0) << directErr;
  EXPECT_EQ(out, direct);
}

}  // namespace
}  // namespace gleaner::testing
