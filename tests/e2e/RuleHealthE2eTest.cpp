// Whole runs against the sample site whose markup "changed" under the list
// rules, and against keywords without results: the status line names the
// suspect rule after two pages without records, never for an empty result.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "SiteFixture.h"
#include "rules/EmbeddedRules.h"
#include "sample-site/SampleCatalog.h"
#include "text/HealthTexts.h"
#include "text/Literals.h"
#include "text/OutcomeTexts.h"

namespace gleaner::e2e {
namespace {

using namespace std::chrono_literals;

class RuleHealthE2e : public SiteFixture {
 protected:
  bool anyStatusNames(const std::string& part) const {
    for (const auto& line : watcher->status()) {
      if (line.find(part) != std::string::npos) return true;
    }
    return false;
  }
};

const std::string kChanged(sample::kChangedMarkupKeyword);

TEST_F(RuleHealthE2e, ChangedMarkupIsPutDownToTheListRuleFromTheSecondPageOn) {
  RunOutcome outcome = runToTheEnd(search(Job::Offers, kChanged, 3));
  const std::string third = literals::ruleMayBeBroken(3, "ExtractTextAImg");
  EXPECT_EQ(watcher->status(),
            (std::vector<std::string>{literals::collectingPage(1), literals::collectingPage(2),
                                      literals::ruleMayBeBroken(2, "ExtractTextAImg"), literals::collectingPage(3),
                                      third}));
  EXPECT_EQ(outcome.statusLine, literals::endOfRunLine(literals::runSummary({3, 0, 3, 0, 0}), third));
  EXPECT_EQ(outcome.message, literals::kRunFinished) << "the end message stays as it is";
  EXPECT_EQ(outcome.health.counts.pagesWithoutRecords, 3);
  EXPECT_TRUE(watcher->reports().empty()) << "nothing failed: the rule simply no longer fits";

  outcome = runToTheEnd(search(Job::Sellers, kChanged, 2));
  const std::string second = literals::ruleMayBeBroken(2, "ExtractTextAImg3");
  EXPECT_EQ(outcome.statusLine, literals::endOfRunLine(literals::runSummary({2, 0, 2, 0, 0}), second));
  EXPECT_TRUE(anyStatusNames(second));
}

// Review pages under a renamed key: the rule is blamed for the pages that
// hold reviews, and the site's empty pages after them are called empty.
// Review pages under a renamed key: the rule is blamed for the pages that
// hold reviews; the site's first empty page after them ends the walk.
TEST_F(RuleHealthE2e, ChangedReviewMarkupIsToldUntilTheReviewsEnd) {
  RunRequest request = search(Job::Buyers, {}, 0);
  request.itemAddress = "http://item.taobao.com/item.htm?id=" + std::string(sample::kChangedMarkupItem);
  const RunOutcome outcome = runToTheEnd(request);
  const int withReviews = sample::SampleCatalog::item(sample::kChangedMarkupItem).reviewPages;
  ASSERT_GE(withReviews, 2);
  std::vector<std::string> expected;
  for (int page = 2; page <= withReviews; ++page) expected.push_back(literals::ruleMayBeBroken(page, "ExtractAllText"));
  expected.push_back(literals::reviewsEmpty(withReviews + 1));
  EXPECT_EQ(watcher->status(), expected);
  EXPECT_EQ(outcome.kind, OutcomeKind::ResultsEnded);
  EXPECT_EQ(outcome.resultsEndedAt, withReviews + 1);
  EXPECT_EQ(outcome.health.counts.emptyResultPages, 1);
  EXPECT_EQ(outcome.health.warnings.front(), literals::ruleMayBeBroken(2, "ExtractAllText"));
}

// A keyword without results: the first page says so and ends the run,
// which asks for no further page and blames no rule.
TEST_F(RuleHealthE2e, AKeywordWithoutResultsSaysSoAndBlamesNoRule) {
  RunOutcome outcome = runToTheEnd(search(Job::Offers, std::string(sample::kEmptyKeyword), 2));
  const std::string empty = literals::searchResultEmpty(1);
  EXPECT_EQ(watcher->status(), std::vector<std::string>{literals::collectingPage(1)});
  EXPECT_EQ(outcome.statusLine,
            literals::openedLine(literals::resultsEndedOpening(1, false),
                                 literals::endOfRunLine(literals::runSummary({1, 0, 1, 1, 0}), empty)));
  EXPECT_EQ(targetsOn("s.1688.com").size(), 1u);
  outcome = runToTheEnd(search(Job::Sellers, std::string(sample::kEmptyKeyword), 3));
  EXPECT_EQ(outcome.kind, OutcomeKind::ResultsEnded);
  EXPECT_EQ(outcome.statusLine.find("ExtractTextAImg"), std::string::npos) << "no rule is named for an empty result";
  EXPECT_EQ(outcome.health.counts.emptyResultPages, 1);
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

  runToTheEnd(search(Job::Offers, std::string(sample::kEmptyKeyword), 2));
  EXPECT_TRUE(anyStatusNames(literals::ruleOrEmptyCannotTell(2, "ExtractTextAImg")))
      << "without a marker the walk goes on";
  const RunOutcome outcome = runToTheEnd(search(Job::Offers, kChanged, 2));
  EXPECT_EQ(outcome.statusLine, literals::endOfRunLine(literals::runSummary({2, 0, 2, 0, 0}),
                                                       literals::ruleOrEmptyCannotTell(2, "ExtractTextAImg")));
  EXPECT_TRUE(watcher->reports().empty()) << "a missing marker is no failure";
}

}  // namespace
}  // namespace gleaner::e2e
