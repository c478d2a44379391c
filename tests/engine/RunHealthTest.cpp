// The run's rule health: which pages call for a warning, how it is worded,
// and the line a run ends on.
#include "engine/RunHealth.h"

#include <gtest/gtest.h>

#include "text/HealthTexts.h"

namespace gleaner {
namespace {

PageReport withRecords(const RuleFile& rule, int records, int rows) {
  PageReport page;
  page.listRule = &rule;
  page.records = records;
  page.rows = rows;
  return page;
}

PageReport withoutRecords(const RuleFile& rule, EmptyResult verdict = EmptyResult::NotEmpty) {
  PageReport page;
  page.listRule = &rule;
  page.emptyResult = verdict;
  return page;
}

TEST(RunHealth, TwoPagesInARowWithoutRecordsNameTheRuleUntilAPageHasRecordsAgain) {
  RunHealth health;
  EXPECT_FALSE(health.pageRead(1, withRecords(rules::kOfferList, 10, 10)));
  EXPECT_FALSE(health.pageRead(2, withoutRecords(rules::kOfferList))) << "one page alone may be a fluke";
  EXPECT_EQ(health.pageRead(3, withoutRecords(rules::kOfferList)), literals::ruleMayBeBroken(3, "ExtractTextAImg"));
  EXPECT_EQ(health.pageRead(4, withoutRecords(rules::kOfferList)), literals::ruleMayBeBroken(4, "ExtractTextAImg"));
  EXPECT_FALSE(health.pageRead(5, withRecords(rules::kOfferList, 2, 2)));
  EXPECT_FALSE(health.pageRead(6, withoutRecords(rules::kOfferList))) << "a new streak starts over";

  // One warning per streak in the run's list; a run with rows that does not
  // end in a streak ends on its summary alone.
  EXPECT_EQ(health.report().warnings, std::vector<std::string>{literals::ruleMayBeBroken(3, "ExtractTextAImg")});
  EXPECT_EQ(health.endOfRun(), literals::runSummary({6, 12, 4, 0, 0}));
  EXPECT_EQ(health.report().records, 12);
}

TEST(RunHealth, TheEmptyResultMarkerDecidesBetweenAnEmptyPageAndASuspectRule) {
  struct Case {
    const RuleFile& rule;
    EmptyResult verdict;
    std::string warning;
  };
  const Case cases[] = {
      {rules::kOfferList, EmptyResult::Empty, literals::searchResultEmpty(2)},
      {rules::kProductList, EmptyResult::Empty, literals::searchResultEmpty(2)},
      {rules::kBuyerList, EmptyResult::Empty, literals::reviewsEmpty(2)},
      {rules::kProductList, EmptyResult::NotEmpty, literals::ruleMayBeBroken(2, "ExtractTextAImg3")},
      {rules::kBuyerList, EmptyResult::NoMarker, literals::ruleOrEmptyCannotTell(2, "ExtractAllText")},
      {rules::kOfferList, EmptyResult::MarkerFailed, literals::ruleOrEmptyCannotTell(2, "ExtractTextAImg")},
  };
  for (const Case& c : cases) {
    RunHealth health;
    health.pageRead(1, withoutRecords(c.rule, c.verdict));
    EXPECT_EQ(health.pageRead(2, withoutRecords(c.rule, c.verdict)), c.warning);
    const int empty = c.verdict == EmptyResult::Empty ? 2 : 0;
    EXPECT_EQ(health.report().counts.emptyResultPages, empty);
    EXPECT_EQ(health.endOfRun(), literals::endOfRunLine(literals::runSummary({2, 0, 2, empty, 0}), c.warning));
  }
  // An empty search result is never put down to the rule.
  EXPECT_EQ(literals::searchResultEmpty(2).find("ExtractTextAImg"), std::string::npos);
}

TEST(RunHealth, FailedAndStoppedPagesAreNoPagesWithoutRecords) {
  RunHealth health;
  PageReport failed = withoutRecords(rules::kOfferList);
  failed.failed = true;
  PageReport stopped = withoutRecords(rules::kOfferList);
  stopped.stopped = true;
  EXPECT_FALSE(health.pageRead(1, withoutRecords(rules::kOfferList)));
  EXPECT_FALSE(health.pageRead(2, failed)) << "a failure is reported on its own and ends the streak";
  EXPECT_FALSE(health.pageRead(3, withoutRecords(rules::kOfferList)));
  EXPECT_FALSE(health.pageRead(4, stopped)) << "a page read only in part tells nothing";
  EXPECT_EQ(health.report().counts.pages, 4);
  EXPECT_EQ(health.report().counts.pagesWithoutRecords, 2);
}

// Pages downloaded and no row: the run ends on the rule that explains it.
TEST(RunHealth, ARunWithoutRowsEndsOnTheRuleToBlame) {
  {
    // Every extraction failed: the rule that failed most.
    RunHealth health;
    RuleObserver& observer = health.ruleObserver();
    for (int page = 1; page <= 2; ++page) {
      observer.ruleApplied(rules::kOfferList);
      observer.ruleFailed(rules::kOfferList, RuleFailure::Download);
      PageReport failed = withoutRecords(rules::kOfferList, EmptyResult::NotChecked);
      failed.failed = true;
      health.pageRead(page, failed);
    }
    EXPECT_EQ(health.endOfRun(), literals::endOfRunLine(literals::runSummary({2, 0, 0, 0, 2}),
                                                              literals::ruleUnusable("ExtractTextAImg", 2)));
    EXPECT_EQ(health.report().rules.front().second.downloadFailed, 2);
  }
  {
    // A single page without records is enough at the end.
    RunHealth health;
    health.pageRead(1, withoutRecords(rules::kOfferList, EmptyResult::NoMarker));
    EXPECT_EQ(health.endOfRun(), literals::endOfRunLine(literals::runSummary({1, 0, 1, 0, 0}),
                                                              literals::ruleOrEmptyCannotTell(1, "ExtractTextAImg")));
    EXPECT_EQ(health.report().warnings.size(), 1u);
  }
  {
    // Records, but a lookup never found anything on the pages it was given.
    RunHealth health;
    RuleObserver& observer = health.ruleObserver();
    for (int i = 0; i < 3; ++i) observer.ruleApplied(rules::kSellerBlock);
    health.pageRead(1, withRecords(rules::kProductList, 3, 0));
    EXPECT_EQ(health.endOfRun(), literals::endOfRunLine(literals::runSummary({1, 0, 0, 0, 0}),
                                                              literals::lookupRuleMayBeBroken(3, "ExtractImg", 3)));
  }
  {
    // Records and lookups that worked: the level filter kept nobody.
    RunHealth health;
    RuleObserver& observer = health.ruleObserver();
    observer.ruleApplied(rules::kSellerBlock);
    observer.matchFound(rules::kSellerBlock, {}, "block\t");
    health.pageRead(1, withRecords(rules::kProductList, 1, 0));
    EXPECT_EQ(health.endOfRun(), literals::runSummary({1, 0, 0, 0, 0}));
  }
}

}  // namespace
}  // namespace gleaner
