// A window program killed without warning during a run: its next start finds
// in the store every row that was in its list a second before the kill, and
// offers them back.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "net/ConnectTo.h"
#include "net/InternetClient.h"
#include "RecordedRun.h"
#include "sample-site/SampleCatalog.h"
#include "sample-site/SampleSite.h"
#include "store/ResultStore.h"
#include "support/ChildProcess.h"
#include "text/PathText.h"

namespace gleaner::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Count {
  Clock::time_point at;
  std::size_t rows;
};

TEST(StoreKill, EveryRowInTheListASecondBeforeTheKillIsInTheStore) {
  sample::SampleSite site;
  const int port = site.start();
  const fs::path dir = fs::temp_directory_path() / ("gleaner-store-kill-" + std::to_string(port));
  fs::remove_all(dir);
  const fs::path store = dir / "results.sqlite";
  const std::string item = "http://item.taobao.com/item.htm?id=" + std::string(sample::kBusyItem);
  const std::vector<std::string> common{"--store", utf8Of(store), "--rules", "127.0.0.1:" + std::to_string(port),
                                        "--connect-to", site.connectToList()};

  std::vector<Count> counts;
  Clock::time_point killedAt;
  {
    std::vector<std::string> args = common;
    args.insert(args.end(), {"--collect-item", item});
    ChildProcess child(GLEANER_STORE_CHILD_PATH, args);
    ASSERT_TRUE(child.started()) << child.startError();
    const Clock::time_point until = Clock::now() + 90s;
    // A run well under way, rows coming fast: then the kill.
    while (Clock::now() < until) {
      const auto line = child.readLine(1s);
      if (!line) continue;
      if (line->rfind("rows ", 0) == 0) counts.push_back({Clock::now(), std::stoul(line->substr(5))});
      if (!counts.empty() && counts.back().rows >= 1500 && counts.back().at - counts.front().at >= 2s) break;
      ASSERT_NE(*line, "ended") << "the run ended before the kill";
    }
    ASSERT_FALSE(counts.empty()) << "the run never started";
    killedAt = Clock::now();
    child.kill();
    EXPECT_EQ(child.wait(30s), ChildProcess::kKilledStatus);
  }
  std::size_t secondBefore = 0;
  for (const Count& count : counts) {
    if (count.at <= killedAt - 1s) secondBefore = count.rows;
  }
  ASSERT_GT(secondBefore, 0u);

  std::vector<ResultRow> stored;
  {
    // Closed before the next start: Windows keeps an open file from being removed.
    ResultStore reader(store, ResultStore::Access::ReadOnly);
    const StoreSummary summary = reader.summary();
    EXPECT_FALSE(summary.cleanEnd);
    EXPECT_EQ(summary.job, Job::Buyers);
    reader.readRows(0, [&](std::size_t, ResultRow&& row) {
      stored.push_back(std::move(row));
      return true;
    });
  }
  EXPECT_GE(stored.size(), secondBefore) << "rows in the list a second before the kill";
  EXPECT_LE(stored.size(), counts.back().rows + 1000) << "no row that the list never had";

  // They are the run's first rows, in list order.
  Sites sites;
  sites.ruleServer = "127.0.0.1:" + std::to_string(port);
  InternetClient::setConnectTo(ConnectTo::parse(site.connectToList()));
  const std::vector<ResultRow> expected = recordRun(sites, buyerRequest(item), stored.size()).rows;
  InternetClient::setConnectTo({});
  EXPECT_EQ(stored, expected);

  // The next start offers them back and puts them in the list.
  {
    std::vector<std::string> args = common;
    args.insert(args.end(), {"--answer", "yes"});
    ChildProcess child(GLEANER_STORE_CHILD_PATH, args);
    ASSERT_TRUE(child.started()) << child.startError();
    // The run was cut off: it could go on as well.
    const std::string asked = child.readLine(60s).value_or("none");
    EXPECT_EQ(asked.rfind("asked: 上次采集没有正常结束，已保存 " + std::to_string(stored.size()) + " 条结果。 要从", 0), 0u)
        << asked;
    EXPECT_EQ(child.readLine(60s).value_or("none"), "list " + std::to_string(stored.size()));
    EXPECT_EQ(child.readLine(60s).value_or("none"), "ended");
    EXPECT_EQ(child.wait(60s), 0) << child.err();
  }
  EXPECT_TRUE(ResultStore(store, ResultStore::Access::ReadOnly).summary().cleanEnd);
  site.stop();
  fs::remove_all(dir);
}

}  // namespace
}  // namespace gleaner::testing
