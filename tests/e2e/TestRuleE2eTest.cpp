// gleaner-cli test-rule against the sample site: every shipped rule on the
// site's pages, the rows it shows compared with a run's, and the exit status
// of each kind of broken rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliFixture.h"
#include "rules/EmbeddedRules.h"
#include "sample-site/SampleCatalog.h"
#include "store/ResultStore.h"
#include "text/GbkConvert.h"

namespace gleaner::e2e {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// One quoted cell of test-rule's output, back to its GBK text.
std::string unquote(const std::string& line, std::size_t& at) {
  std::string text;
  EXPECT_EQ(line[at], '"') << line;
  for (++at; at < line.size() && line[at] != '"'; ++at) {
    if (line[at] != '\\') {
      text += line[at];
      continue;
    }
    const char c = line[++at];
    if (c == 't') text += '\t';
    else if (c == 'r') text += '\r';
    else if (c == 'n') text += '\n';
    else if (c == 'x') { text += static_cast<char>(std::stoi(line.substr(at + 1, 2), nullptr, 16)); at += 2; }
    else text += c;
  }
  ++at;
  return gbk::fromUtf8(text);
}

// The rows test-rule shows ("  行      \"…\" | \"…\" | \"…\" | \"…\"").
std::vector<ResultRow> shownRows(const std::string& out) {
  std::vector<ResultRow> rows;
  const std::string mark = "  行      \"";
  for (std::size_t at = out.find(mark); at != std::string::npos; at = out.find(mark, at)) {
    const std::string line = out.substr(at, out.find('\n', at) - at);
    std::size_t pos = mark.size() - 1;
    ResultRow row;
    for (std::size_t c = 0; c < kJobColumns; ++c) {
      row[c] = unquote(line, pos);
      if (c + 1 < kJobColumns) pos += 3;  // " | "
    }
    rows.push_back(row);
    at += line.size();
  }
  return rows;
}

class TestRule : public CliFixture {
 protected:
  std::string saved(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
  }
  Finished testRule(std::vector<std::string> args) {
    args.insert(args.begin(), "test-rule");
    return runCli(args, env());
  }
};

// The offer job: test-rule over a saved search page (LF line ends, as a
// browser saves it) gives the rows a run of that page gives.
TEST_F(TestRule, OfferListRuleShowsTheRowsOfARunOfThatPage) {
  const Finished run = runCli({"offers", "--keyword", "核桃", "--pages", "1"}, env());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string page = saved("offers.html", site.answer("s.1688.com", "/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2").body);
  const Finished trial = testRule({"--rule", "ExtractTextAImg", "--page", page});
  EXPECT_EQ(trial.status, 0) << trial.err;
  EXPECT_EQ(csvOf(shownRows(trial.out)), run.out);
  EXPECT_TRUE(has(trial.out, "规则    ExtractTextAImg（规则服务器 " + rules.hostPort() + " /files/ali/ExtractTextAImg.txt）"));
  EXPECT_TRUE(has(trial.out, "每个换行前补了 CR")) << "byte ranges count the page as a run reads it";
  EXPECT_TRUE(has(trial.out, "\n共 12 条记录，12 行\n")) << trial.out;
}

// The seller job, over the page downloaded as a run downloads it.
TEST_F(TestRule, ProductListRuleShowsTheRowsOfARunOfThatPage) {
  const Finished run = runCli({"sellers", "--keyword", "核桃", "--pages", "1"}, env());
  ASSERT_EQ(run.status, 0) << run.err;
  const Finished trial = testRule({"--rule", "ExtractTextAImg3", "--url", "http://s.taobao.com/search?&q=%BA%CB%CC%D2"});
  EXPECT_EQ(trial.status, 0) << trial.err;
  EXPECT_EQ(csvOf(shownRows(trial.out)), run.out);
  EXPECT_FALSE(run.out.empty());
}

// The buyers job: the buyer cells of review page 1 are the run's first rows;
// title and address come from the item page a run starts with.
TEST_F(TestRule, BuyerListRuleShowsTheBuyersOfARunOfThatPage) {
  const std::string store = ::testing::TempDir() + "/buyers.sqlite";
  std::filesystem::remove(store);
  runCli({"buyers", "--item-url", "http://item.taobao.com/item.htm?id=10000000004", "--store", store}, env());
  std::vector<ResultRow> runRows;
  ResultStore(store, ResultStore::Access::ReadOnly).readRows(0, [&](std::size_t, ResultRow&& row) {
    runRows.push_back(std::move(row));
    return true;
  });
  const std::string rule = saved("ExtractAllText.txt", std::string(*embeddedRuleFile("/files/taobao/ExtractAllText.txt")));
  const Finished trial = testRule({"--rule", rule, "--url",
                                   "http://rate.taobao.com/detail_rate.htm?userNumId=1&auctionNumId=10000000004&currentPage=1"});
  EXPECT_EQ(trial.status, 0) << trial.err;
  EXPECT_TRUE(has(trial.out, "规则    ExtractAllText（文件 " + rule + "）"));
  const std::vector<ResultRow> shown = shownRows(trial.out);
  ASSERT_FALSE(shown.empty());
  ASSERT_GT(runRows.size(), shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    EXPECT_TRUE(shown[i][0].empty() && shown[i][3].empty());
    EXPECT_EQ(shown[i][1], runRows[i][1]) << i;
    EXPECT_EQ(shown[i][2], runRows[i][2]) << i;
  }
}

// The lookups show the cells they give the job's rows.
TEST_F(TestRule, LookupRulesShowTheCellsTheyGive) {
  const sample::Offer offer = sample::SampleCatalog::offerSearch(gbkText("核桃"), 1).front();
  Finished trial = testRule({"--rule", "ExtractTextAImg01", "--url", "http://detail.1688.com/offer/" + offer.offerId + ".html"});
  EXPECT_EQ(trial.status, 0) << trial.err;
  const ResultRow row = expectedOfferRows(gbkText("核桃"), 1).front();
  EXPECT_TRUE(has(trial.out, "  第0列    商品名称 = \"" + gbk::toUtf8(row[0]).substr(0, row[0].size() - 1))) << trial.out;

  const ResultRow seller = expectedSellerRows(gbkText("核桃"), 0, gbkText("所有信用等级")).front();
  trial = testRule({"--rule", "taobao/ExtractImg.txt", "--url", "http://s.taobao.com/search?&q=%BA%CB%CC%D2"});
  EXPECT_EQ(trial.status, 0) << trial.err;
  EXPECT_TRUE(has(trial.out, "  第1列    卖家ID = \"" + seller[1] + "\"")) << trial.out;

  trial = testRule({"--rule", "/files/taobao/ExtractTextAImg31.txt", "--url",
                    "http://rate.taobao.com/user-rate-" + seller[1] + ".htm", "--cleaned"});
  EXPECT_EQ(trial.status, 0) << trial.err;
  EXPECT_TRUE(has(trial.out, "  第3列    信用等级 = \"" + gbk::toUtf8(seller[3]) + "\"")) << trial.out;
  EXPECT_TRUE(has(trial.out, "          清理后 \"")) << "--cleaned shows each group after cleaning";
}

TEST_F(TestRule, MarkersSayWhetherAPageIsAnEmptyResult) {
  Finished trial = testRule({"--rule", "EmptyOfferSearch", "--url",
                             "http://s.1688.com/selloffer/offer_search.htm?keywords=empty"});
  EXPECT_EQ(trial.status, 0) << trial.err;
  EXPECT_TRUE(has(trial.out, "共 1 条记录：这一页是空结果页")) << trial.out;
  trial = testRule({"--rule", "EmptyOfferSearch", "--url", "http://s.1688.com/selloffer/offer_search.htm?keywords=changed"});
  EXPECT_EQ(trial.status, 3) << trial.err;
}

// Each way a rule can be broken has its own exit status and says what to do.
TEST_F(TestRule, BrokenRulesAreToldApartByTheirExitStatus) {
  const std::string page = saved("page.html", site.answer("s.1688.com", "/selloffer/offer_search.htm?keywords=changed").body);
  // Found nothing: the markup changed under the rule.
  Finished trial = testRule({"--rule", "ExtractTextAImg", "--page", page});
  EXPECT_EQ(trial.status, 3);
  EXPECT_TRUE(has(trial.err, "规则 ExtractTextAImg 在这一页上没有找到任何记录")) << trial.err;

  // Does not compile: Boost's words, and where in the file.
  trial = testRule({"--rule", saved("ExtractTextAImg.txt", "<a\\s(?=\n[^<>]*?\\s(offerid=\"[^\"<>]*+\")\n"), "--page", page});
  EXPECT_EQ(trial.status, 4);
  EXPECT_TRUE(has(trial.err, "规则 ExtractTextAImg 无法编译：出错位置在表达式末尾（规则文件第 2 行末尾）")) << trial.err;
  EXPECT_TRUE(has(trial.err, "Boost.Regex: Unmatched marking parenthesis")) << trial.err;
  trial = testRule({"--rule", saved("bad.txt", "ab\n(?<x\n"), "--page", page});
  EXPECT_EQ(trial.status, 4);
  EXPECT_TRUE(has(trial.err, "（规则文件第 2 行第")) << trial.err;
  trial = testRule({"--rule", saved("ExtractImg.txt", "\n"), "--page", page});
  EXPECT_EQ(trial.status, 4);
  EXPECT_TRUE(has(trial.err, "规则 ExtractImg 是空的")) << trial.err;

  // Matches the empty text.
  trial = testRule({"--rule", saved("lazy.txt", "(?:<li>)?\n"), "--page", page});
  EXPECT_EQ(trial.status, 5);
  EXPECT_TRUE(has(trial.err, "可以匹配空文本")) << trial.err;

  // Runs past the search budget, after the records it found.
  const std::string hostile = saved("hostile.html", "<li>a,1</li>" + std::string(400 * 1024, 'a'));
  trial = testRule({"--rule", saved("runaway.txt", "<li>([^<]*)</li>|(?:a+)+b\n"), "--page", hostile});
  EXPECT_EQ(trial.status, 6);
  EXPECT_TRUE(has(trial.out, "记录 1  字节 0-12")) << trial.out;
  EXPECT_TRUE(has(trial.err, "在第 2 次搜索时超出了限制")) << trial.err;
}

TEST_F(TestRule, WhatCannotBeReadOrUsedIsRefused) {
  const std::string page = saved("p.html", "<html></html>");
  Finished trial = testRule({"--rule", "NoSuchRule", "--page", page});
  EXPECT_EQ(trial.status, 2);
  EXPECT_TRUE(has(trial.err, "已知的规则：ExtractTextAImg, ExtractTextAImg01")) << trial.err;
  EXPECT_EQ(testRule({"--rule", "ExtractImg"}).status, 2);
  EXPECT_EQ(testRule({"--rule", "ExtractImg", "--page", page, "--url", "http://x/"}).status, 2);
  EXPECT_EQ(testRule({"--rule", "ExtractImg", "--page", "/nonexistent/page.html"}).status, 1);
  EXPECT_EQ(testRule({"--rule", "taobao/Missing.txt", "--page", page}).status, 1) << "not on the rule server";
  const Finished down = runCli({"test-rule", "--rule", "ExtractImg", "--page", page}, {"GLEANER_RULE_SERVER=127.0.0.1:1"});
  EXPECT_EQ(down.status, 1);
  EXPECT_TRUE(has(down.err, "无法从规则服务器取得规则 ExtractImg")) << down.err;

  // What a run would never read: a folder, a device, a page over 16 MiB, a
  // rule over 64 KiB; read no further than the cap.
  const std::string folder = ::testing::TempDir() + "/a-folder";
  std::filesystem::create_directories(folder);
  const std::string huge = saved("huge.html", "");
  std::filesystem::resize_file(huge, 500u * 1024 * 1024);  // sparse: nothing on the disk
  const std::string bigRule = saved("big.txt", std::string(64 * 1024 + 1, 'a'));
  const std::vector<std::pair<std::vector<std::string>, std::string>> unreadable{
      {{"--rule", "ExtractImg", "--page", folder}, "是文件夹或设备"},
#ifndef _WIN32
      {{"--rule", "ExtractImg", "--page", "/dev/zero"}, "是文件夹或设备"},
#endif
      {{"--rule", "ExtractImg", "--page", huge}, "超过 16 MiB，运行时这样的页面会下载失败"},
      {{"--rule", folder, "--page", page}, "是文件夹或设备"},
      {{"--rule", bigRule, "--page", page}, "超过 64 KiB，运行时会被当作损坏的规则拒绝"}};
  for (const auto& [args, told] : unreadable) {
    trial = testRule(args);
    EXPECT_EQ(trial.status, 1) << args[1] << " " << args[3] << "\n" << trial.err;
    EXPECT_TRUE(has(trial.err, told)) << trial.err;
  }
  std::filesystem::remove(huge);

  const Finished help = runCli({"test-rule", "--help"}, {});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(has(help.out, "6 a search ran past its budget"));
}

}  // namespace
}  // namespace gleaner::e2e
