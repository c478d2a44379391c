#include "extract/BuyerReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/FakeSite.h"
#include "extract/ReaderRun.h"

namespace gleaner {
namespace {

const std::string kRulePath = "/files/taobao/ExtractAllText.txt";

class BuyerReaderTest : public ::testing::Test {
 protected:
  // Written over two lines: the lines run together into one pattern.
  void SetUp() override { site.serve(kRulePath, "<li class=\"buyer\">(\n[^<]*)</li>\n"); }

  testing::FakeSite site;
  testing::ReaderRun run{site.sites()};
  // The title as the item page probe read it, and the address the user gave.
  BuyerReader reader{run.context, "RedShoe\t\r\n", "http://item/1"};
};

std::string buyer(const std::string& text) { return "<li class=\"buyer\">" + text + "</li>\r\n"; }

TEST_F(BuyerReaderTest, CutsNicknameAndIdAtTheFirstComma) {
  const PageReport report = reader.read(buyer("nick1,1001") + buyer("a,b,c") + buyer(",1003") + buyer("solo") +
                                        buyer(" \t "));
  const std::vector<ResultRow> expected = {
      {"RedShoe\t\r\n", "1001\t", "nick1", "http://item/1"},
      {"RedShoe\t\r\n", "b,c\t", "a", "http://item/1"},
      {"RedShoe\t\r\n", "1003\t", "", "http://item/1"},
      {"RedShoe\t\r\n", "solo\t", "", "http://item/1"},
  };
  EXPECT_EQ(run.host.rows, expected);
  // The blank buyer gave no row and is no record.
  EXPECT_EQ(report.records, 4);
  EXPECT_EQ(report.rows, 4);
}

// A rule changed on the server takes effect on the next page.
TEST_F(BuyerReaderTest, TheRuleFileIsFetchedAgainForEveryPage) {
  reader.read(buyer("n1,1") + buyer("n2,2"));
  site.serve(kRulePath, "<b>([^<]*)</b>");
  reader.read("<b>n3,3</b>" + buyer("n4,4"));
  ASSERT_EQ(run.host.rows.size(), 3u);
  EXPECT_EQ(run.host.rows[2][1], "3\t");
  EXPECT_EQ(site.hits(kRulePath), 2);
}

}  // namespace
}  // namespace gleaner
