#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/MemoryWindow.h"
#include "extract/FakeSite.h"
#include "extract/PageExtractor.h"

namespace gleaner {
namespace {

const std::string kRulePath = "/files/taobao/ExtractAllText.txt";

class BuyerListExtractorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Written over two lines: the lines run together into one pattern.
    site.serve(kRulePath, "<li class=\"buyer\">(\n[^<]*)</li>\n");
    run.settings.itemTitle = "RedShoe\t\r\n";
    run.settings.itemAddress = "http://item/1";
  }

  void extract(const std::string& page) {
    PageExtractor extractor(window, site.sites(), run);
    EXPECT_TRUE(extractor.BuyerListExtractor(page));
  }

  testing::FakeSite site;
  MemoryWindow window;
  RunContext run;
};

std::string buyer(const std::string& text) { return "<li class=\"buyer\">" + text + "</li>\r\n"; }

TEST_F(BuyerListExtractorTest, CutsNicknameAndIdAtTheFirstComma) {
  extract(buyer("nick1,1001") + buyer("a,b,c") + buyer(",1003") + buyer("solo") + buyer(" \t "));
  const std::vector<ResultRow> expected = {
      {"RedShoe\t\r\n", "1001\t", "nick1", "http://item/1"},
      {"RedShoe\t\r\n", "b,c\t", "a", "http://item/1"},
      {"RedShoe\t\r\n", "1003\t", "", "http://item/1"},
      {"RedShoe\t\r\n", "solo\t", "", "http://item/1"},
  };
  EXPECT_EQ(window.rows(), expected);
  // The blank buyer gave no row and was not counted.
  EXPECT_EQ(window.runFields().buyerRowCounter, 4);
  EXPECT_EQ(window.countDisplay(), "4");
  EXPECT_EQ(site.hits(kRulePath), 1);
}

// Title and address are the run's, read when it started: an address typed
// into the box during the run (for the next run) is not in its rows.
TEST_F(BuyerListExtractorTest, CountingGoesOnAcrossPagesAndTheItemAddressIsTheRuns) {
  window.onRowAppended = [this](const ResultRow&) {
    window.setControlText(TabPage::ItemUrl, ids::kItemAddress, "http://item/changed");
  };
  extract(buyer("n1,1") + buyer("n2,2"));
  extract(buyer("n3,3"));
  const std::vector<ResultRow> rows = window.rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][3], "http://item/1");
  EXPECT_EQ(rows[1][3], "http://item/1");
  EXPECT_EQ(rows[2][1], "3\t");
  EXPECT_EQ(window.countDisplay(), "3");
  // The rule file is fetched again for every page.
  EXPECT_EQ(site.hits(kRulePath), 2);
}

}  // namespace
}  // namespace gleaner
