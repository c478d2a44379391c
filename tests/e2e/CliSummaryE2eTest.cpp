// gleaner-cli's summary of a run: the status line's summary on standard
// error, and --json-summary for scripts and monitoring.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "CliFixture.h"
#include "cli/JsonSummary.h"
#include "rules/EmbeddedRules.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class CliSummary : public CliFixture {
 protected:
  std::string jsonPath() const { return ::testing::TempDir() + "/summary.json"; }
  // A rule server serving the shipped rules, with the offer list rule replaced.
  std::vector<std::string> envWithOfferRule(const std::string& ruleText) {
    dir = std::filesystem::path(::testing::TempDir()) / "summary-rules";
    std::filesystem::remove_all(dir);
    for (const EmbeddedRuleFile& file : embeddedRuleFiles()) {
      const std::filesystem::path target = dir / std::string(file.path.substr(std::string_view("/files/").size()));
      std::filesystem::create_directories(target.parent_path());
      std::ofstream(target, std::ios::binary) << file.bytes;
    }
    std::ofstream(dir / "ali" / "ExtractTextAImg.txt", std::ios::binary | std::ios::trunc) << ruleText;
    ruleServer = std::make_unique<sample::SampleSite>(sample::SampleSite::Options{{}, dir, 3000ms});
    ruleServer->start();
    return {"GLEANER_CONNECT_TO=" + site.connectToList(),
            "GLEANER_RULE_SERVER=127.0.0.1:" + std::to_string(ruleServer->port())};
  }

  std::filesystem::path dir;
  std::unique_ptr<sample::SampleSite> ruleServer;
};

TEST_F(CliSummary, ANormalRunSummarisesPagesRowsAndEachRulesUse) {
  const Finished run = runCli({"offers", "--keyword", "核桃", "--pages", "2", "--json-summary", jsonPath()}, env());
  ASSERT_EQ(run.status, 0) << run.err;
  const int rows = static_cast<int>(expectedOfferRows(gbkText("核桃"), 1).size() + expectedOfferRows(gbkText("核桃"), 2).size());
  const std::string summary =
      "采集结束：共2页，" + std::to_string(rows) + "条结果，0页没有找到记录，规则出错0次\n";
  // The summary stands on standard error right before the end message, which is unchanged.
  EXPECT_TRUE(has(run.err, "正在采集第2页\n" + summary + "任务完成！\n")) << run.err;
  EXPECT_EQ(run.out, csvOf(concat({expectedOfferRows(gbkText("核桃"), 1), expectedOfferRows(gbkText("核桃"), 2)})));

  const std::string json = readFile(jsonPath());
  for (const std::string& field :
       {std::string("\"job\": \"offers\""), std::string("\"outcome\": \"finished\""), std::string("\"exitStatus\": 0"),
        std::string("\"pages\": 2,"), "\"rows\": " + std::to_string(rows) + ",",
        std::string("\"pagesWithoutRecords\": 0,"), std::string("\"ruleFailures\": 0,"),
        "\"ExtractTextAImg\": {\"path\": \"/files/ali/ExtractTextAImg.txt\", \"applied\": 2, \"matched\": " +
            std::to_string(rows) + ", \"failed\": 0,",
        "\"ExtractTextAImg01\": {\"path\": \"/files/ali/ExtractTextAImg01.txt\", \"applied\": " + std::to_string(rows),
        std::string("\"failedPage\": null,"), std::string("\"warnings\": [],"),
        "\"summary\": \"" + summary.substr(0, summary.size() - 1) + "\""}) {
    EXPECT_TRUE(has(json, field)) << field << "\n" << json;
  }
  EXPECT_FALSE(has(json, "EmptyOfferSearch")) << "pages with records need no marker";
}

// A rule that does not compile fails every page: the summary counts the
// failures under the rule and names it.
TEST_F(CliSummary, ABrokenRuleRunNamesTheRuleAndCountsItsFailures) {
  const Finished run =
      runCli({"offers", "--pages", "2", "--json-summary", jsonPath()}, envWithOfferRule("<a\\s(?=[^<>]*\n"));
  EXPECT_EQ(run.status, 3) << run.err;
  const std::string warning = "规则 ExtractTextAImg 无法使用（出错2次），请检查网络和规则服务器，或更新规则";
  EXPECT_TRUE(has(run.err, warning + "；采集结束：共2页，0条结果，0页没有找到记录，规则出错2次\n")) << run.err;
  const std::string json = readFile(jsonPath());
  EXPECT_TRUE(has(json, "\"exitStatus\": 3,")) << json;
  EXPECT_TRUE(has(json, "\"ruleFailures\": 2,")) << json;
  EXPECT_TRUE(has(json, "\"applied\": 2, \"matched\": 0, \"failed\": 2, \"failures\": {\"download\": 0, \"compile\": 2, "
                        "\"runaway\": 0, \"emptyMatch\": 0}")) << json;
  EXPECT_TRUE(has(json, "\"warnings\": [\n    \"" + warning + "\"\n  ]")) << json;

  // A rule that compiles but no longer fits: the warning names it, and the
  // summary lists the pages without records.
  const Finished changed = runCli({"offers", "--keyword", "changed", "--pages", "2", "--json-summary", jsonPath()}, env());
  EXPECT_EQ(changed.status, 0) << changed.err;
  const std::string changedJson = readFile(jsonPath());
  EXPECT_TRUE(has(changedJson, "\"pagesWithoutRecords\": 2,")) << changedJson;
  EXPECT_TRUE(has(changedJson, "\"第2页没有找到任何记录：规则 ExtractTextAImg 可能已失效，请更新规则或检查页面\"")) << changedJson;
}

TEST_F(CliSummary, ARuleServerThatIsDownIsADownloadFailureOfEveryPage) {
  const Finished run = runCli({"sellers", "--pages", "2", "--json-summary", jsonPath()},
                              {"GLEANER_CONNECT_TO=" + site.connectToList(), "GLEANER_RULE_SERVER=127.0.0.1:1"});
  EXPECT_EQ(run.status, 3) << run.err;
  const std::string json = readFile(jsonPath());
  EXPECT_TRUE(has(json, "\"job\": \"sellers\"")) << json;
  EXPECT_TRUE(has(json, "\"pages\": 2,")) << json;
  EXPECT_TRUE(has(json, "\"extractionsFailed\": 2,")) << json;
  EXPECT_TRUE(has(json, "\"ExtractTextAImg3\": {\"path\": \"/files/taobao/ExtractTextAImg3.txt\", \"applied\": 2, "
                        "\"matched\": 0, \"failed\": 2, \"failures\": {\"download\": 2,")) << json;
  EXPECT_TRUE(has(json, "规则 ExtractTextAImg3 无法使用（出错2次）")) << json;
  EXPECT_TRUE(has(run.err, "规则 ExtractTextAImg3 无法使用（出错2次）")) << run.err;
}

TEST_F(CliSummary, ASummaryFileThatCannotBeCreatedRefusesTheRunBeforeAnyPage) {
  const Finished run = runCli({"offers", "--pages", "1", "--json-summary", "/nonexistent-folder/s.json"}, env());
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(has(run.err, "无法创建摘要文件 /nonexistent-folder/s.json")) << run.err;
  EXPECT_TRUE(site.requests().empty());
  // A refused run still writes its summary.
  const Finished refused = runCli({"offers", "--keyword", "", "--json-summary", jsonPath()}, env());
  EXPECT_EQ(refused.status, 2);
  EXPECT_TRUE(has(readFile(jsonPath()), "\"outcome\": \"refused\""));
}

// The outcome comes first in the summary line and in the JSON, with the
// page that ended the walk.
TEST_F(CliSummary, TheOutcomeAndThePageThatEndedTheWalk) {
  const Finished run =
      runCli({"offers", "--keyword", "missing3", "--pages", "5", "--json-summary", jsonPath()}, env());
  EXPECT_EQ(run.status, 4) << run.err;
  const std::string json = readFile(jsonPath());
  const std::string address = "http://s.1688.com/selloffer/offer_search.htm?keywords=missing3&sortType=normal"
                              "&button_click=top&earseDirect=false&n=y#beginPage=3";
  for (const std::string& field :
       {std::string("\"outcome\": \"page-failed\""), std::string("\"exitStatus\": 4,"),
        "\"failedPage\": {\"number\": 3, \"address\": \"" + address + "\", \"reason\": \"HTTP 404\"",
        std::string("\"statusLine\": \"第3页下载失败（HTTP 404），采集到第2页为止：采集结束：共2页")}) {
    EXPECT_TRUE(has(json, field)) << field << "\n" << json;
  }
  const Finished ended = runCli({"sellers", "--keyword", "empty", "--pages", "3", "--json-summary", jsonPath()}, env());
  EXPECT_EQ(ended.status, 0) << ended.err;
  EXPECT_TRUE(has(readFile(jsonPath()), "\"outcome\": \"results-ended\"")) << readFile(jsonPath());
}

TEST(JsonSummary, StringsAreEscapedUtf8) {
  EXPECT_EQ(cli::jsonString("第2页 \"a\\b\"\t\r\n\x01\x7F"), "\"第2页 \\\"a\\\\b\\\"\\t\\r\\n\\u0001\\u007f\"");
  EXPECT_EQ(cli::jsonString(""), "\"\"");
}

}  // namespace
}  // namespace gleaner::e2e
