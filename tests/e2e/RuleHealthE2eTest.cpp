// Whole runs against the sample site whose markup "changed" under the list
// rules, and against keywords without results: the status line names the
// suspect rule after two pages without records, never for an empty result.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "SiteFixture.h"
#include "engine/MainThread.h"
#include "engine/MemoryWindow.h"
#include "engine/ProcessValues.h"
#include "engine/RunController.h"
#include "rules/EmbeddedRules.h"
#include "sample-site/SampleCatalog.h"
#include "support/WaitFor.h"
#include "text/HealthTexts.h"
#include "text/Literals.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;

class RuleHealthE2e : public SiteFixture {
 protected:
  void SetUp() override {
    SiteFixture::SetUp();
    PauseRequested = false;
  }
  void TearDown() override {
    controller.reset();
    SiteFixture::TearDown();
  }
  // One run of the job on the tab, with the page's settings, to its end.
  void run(int tab, TabPage page, int keywordId, const std::string& keyword, int pagesId, const std::string& pages) {
    window.selectTab(tab);
    window.setControlText(page, keywordId, keyword);
    if (pagesId != 0) window.setControlText(page, pagesId, pages);
    controller = std::make_unique<RunController>(window, sites);
    controller->collect();
    ASSERT_TRUE(testing::waitFor([&] { return !controller->busy(); }, 120s)) << "the run did not end";
  }
  void runOffers(const std::string& keyword, const std::string& pages) {
    run(0, TabPage::Search, ids::kSearchKeyword, keyword, ids::kSearchPages, pages);
  }
  void runSellers(const std::string& keyword, const std::string& pages) {
    run(2, TabPage::SellerSearch, ids::kSellerKeyword, keyword, ids::kSellerPages, pages);
  }
  bool anyStatusNames(const std::string& part) const {
    for (const auto& line : window.statusHistory()) {
      if (line.find(part) != std::string::npos) return true;
    }
    return false;
  }

  MemoryWindow window;
  std::unique_ptr<RunController> controller;
};

const std::string kChanged(sample::kChangedMarkupKeyword);

TEST_F(RuleHealthE2e, ChangedMarkupIsPutDownToTheListRuleFromTheSecondPageOn) {
  runOffers(kChanged, "3");
  const std::string third = literals::ruleMayBeBroken(3, "ExtractTextAImg");
  EXPECT_EQ(window.statusHistory(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2),
                                      literals::ruleMayBeBroken(2, "ExtractTextAImg"), literals::collectingPage(3),
                                      third, literals::endOfRunLine(literals::runSummary({3, 0, 3, 0, 0}), third)}));
  EXPECT_EQ(window.messages().back(), literals::kRunFinished) << "the end message stays as it is";
  const HealthReport health = controller->latestSummary()->health.report();
  EXPECT_EQ(health.counts.pagesWithoutRecords, 3);
  EXPECT_TRUE(window.reports().empty()) << "nothing failed: the rule simply no longer fits";

  runSellers(kChanged, "2");
  const std::string second = literals::ruleMayBeBroken(2, "ExtractTextAImg3");
  EXPECT_EQ(window.statusHistory().back(),
            literals::endOfRunLine(literals::runSummary({2, 0, 2, 0, 0}), second));
  EXPECT_TRUE(anyStatusNames(second));
}

// Review pages under a renamed key: the rule is blamed for the pages that
// hold reviews, and the site's empty pages after them are called empty.
TEST_F(RuleHealthE2e, ChangedReviewMarkupIsToldFromTheEmptyPagesAfterIt) {
  window.selectTab(1);
  window.setControlText(TabPage::ItemUrl, ids::kItemAddress,
                        "http://item.taobao.com/item.htm?id=" + std::string(sample::kChangedMarkupItem));
  controller = std::make_unique<RunController>(window, sites);
  controller->collect();
  ASSERT_TRUE(testing::waitFor([&] { return !controller->busy(); }, 120s));
  const int withReviews = sample::SampleCatalog::item(sample::kChangedMarkupItem).reviewPages;
  ASSERT_GE(withReviews, 2);
  const auto status = window.statusHistory();
  // No page has records: from page 2 on, each says why, then the end.
  ASSERT_EQ(status.size(), 102u);
  for (int page = 2; page <= 102; ++page) {
    EXPECT_EQ(status[static_cast<std::size_t>(page - 2)], page <= withReviews
                                                              ? literals::ruleMayBeBroken(page, "ExtractAllText")
                                                              : literals::reviewsEmpty(page));
  }
  const HealthReport health = controller->latestSummary()->health.report();
  EXPECT_EQ(health.counts.emptyResultPages, 102 - withReviews);
  EXPECT_EQ(health.warnings.front(), literals::ruleMayBeBroken(2, "ExtractAllText"));
}

TEST_F(RuleHealthE2e, AKeywordWithoutResultsSaysSoAndBlamesNoRule) {
  runOffers(std::string(sample::kEmptyKeyword), "2");
  const std::string empty = literals::searchResultEmpty(2);
  EXPECT_EQ(window.statusHistory(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2), empty,
                                      literals::endOfRunLine(literals::runSummary({2, 0, 2, 2, 0}), empty)}));
  runSellers(std::string(sample::kEmptyKeyword), "3");
  EXPECT_TRUE(anyStatusNames(literals::searchResultEmpty(3)));
  EXPECT_FALSE(anyStatusNames("ExtractTextAImg")) << "no rule is named for an empty result";
  EXPECT_EQ(controller->latestSummary()->health.report().counts.emptyResultPages, 3);
}

// A rule server without the optional markers: the warning cannot tell an
// empty result from a broken rule, and says both may be.
TEST_F(RuleHealthE2e, WithoutAMarkerTheWarningSaysItCannotTell) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "rules-without-markers";
  std::filesystem::remove_all(dir);
  for (const EmbeddedRuleFile& file : embeddedRuleFiles()) {
    if (file.path.find("/Empty") != std::string_view::npos) continue;
    const std::filesystem::path target = dir / std::string(file.path.substr(std::string_view("/files/").size()));
    std::filesystem::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << file.bytes;
  }
  sample::SampleSite ruleServer(sample::SampleSite::Options{{}, dir, 3000ms});
  ruleServer.start();
  sites.ruleServer = "127.0.0.1:" + std::to_string(ruleServer.port());

  runOffers(std::string(sample::kEmptyKeyword), "2");
  EXPECT_TRUE(anyStatusNames(literals::ruleOrEmptyCannotTell(2, "ExtractTextAImg")));
  runOffers(kChanged, "2");
  EXPECT_EQ(window.statusHistory().back(),
            literals::endOfRunLine(literals::runSummary({2, 0, 2, 0, 0}),
                                         literals::ruleOrEmptyCannotTell(2, "ExtractTextAImg")));
  EXPECT_TRUE(window.reports().empty()) << "a missing marker is no failure";
}

}  // namespace
}  // namespace gleaner::e2e
