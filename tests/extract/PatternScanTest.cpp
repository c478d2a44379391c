#include "extract/PatternScan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>
#include <string>
#include <vector>

#include "extract/PatternError.h"
#include "extract/ScanStopped.h"
#include "extract/StopSignal.h"

namespace gleaner {
namespace {

std::vector<std::string> scanAll(const std::string& pattern, const std::string& text) {
  std::vector<std::string> records;
  PatternScan(pattern, text, [&](const std::string& record) {
    records.push_back(record);
    return true;
  });
  return records;
}

TEST(MatchRecord, GroupsRunFromHighestDownAndOnlyTheHighestIsCleaned) {
  // Group 1 keeps its inner space, group 2 is white space only and adds
  // nothing, group 3 is cleaned.
  EXPECT_EQ(scanAll(R"(\[(.*?);(.*?);(.*?)\])", "[ a b ; \t ;Red Shoe (2014)]"),
            (std::vector<std::string>{"RedShoe2014\ta b\t"}));
  // The same text in the highest group loses its space.
  EXPECT_EQ(scanAll(R"(\[(.*?);(.*?)\])", "[ a b ; a b ]"), (std::vector<std::string>{"ab\ta b\t"}));
}

TEST(MatchRecord, GroupsThatTookNoPartOrHaveNoneGiveNothing) {
  EXPECT_EQ(scanAll("(x)?(y)", "y"), (std::vector<std::string>{"y\t"}));
  // A highest group that cleaning empties adds no tab either.
  EXPECT_EQ(scanAll("(a)(-)", "a-"), (std::vector<std::string>{"a\t"}));
  // No groups: one empty record per match.
  EXPECT_EQ(scanAll("ab", "abXab"), (std::vector<std::string>{"", ""}));
}

TEST(PatternScan, MatchesCaseInsensitivelyAndDotCrossesLines) {
  EXPECT_EQ(scanAll("(shoe)", "SHOE and Shoe"), (std::vector<std::string>{"SHOE\t", "Shoe\t"}));
  EXPECT_EQ(scanAll("<b>(.*?)</b>", "<B>one\r\ntwo</B>"), (std::vector<std::string>{"onetwo\t"}));
}

TEST(PatternScan, EachSearchSeesTheEndOfTheLastMatchAsTheStartOfTheText) {
  EXPECT_EQ(scanAll("^(ab)", "ababxab"), (std::vector<std::string>{"ab\t", "ab\t"}));
  // Between the two x there is no word boundary, unless the first x is out of sight.
  EXPECT_EQ(scanAll(R"(\b(x))", "xx"), (std::vector<std::string>{"x\t", "x\t"}));
  // Look-behind cannot see the "a" that the previous match took.
  EXPECT_EQ(scanAll("(a)|(?<!a)(b)", "ab"), (std::vector<std::string>{"a\t", "b\t"}));
}

TEST(PatternScan, EmptyMatchesMoveOnByOneWholeCharacter) {
  EXPECT_EQ(scanAll("(x*)", "abc").size(), 4u);
  // 億 is 83 7C: stepping into its trail byte would find a lone "|".
  // Group 1 is not the highest, so a "|" in it would survive cleaning.
  const std::vector<std::string> records = scanAll("([|]*)()", "\x83\x7C" "a");
  EXPECT_EQ(records, (std::vector<std::string>{"", "", ""}));
}

TEST(PatternScan, HandlerStopsTheScanAndItsExceptionsPassThroughUnchanged) {
  int calls = 0;
  PatternScan("(a)", "aaa", [&](const std::string&) { return ++calls < 2; });
  EXPECT_EQ(calls, 2);
  EXPECT_THROW(PatternScan("(a)", "a", [](const std::string&) -> bool { throw std::logic_error("mine"); }),
               std::logic_error);
}

TEST(PatternScan, UnusablePatternsThrowPatternError) {
  const auto noop = [](const std::string&) { return true; };
  try {
    PatternScan("(abc", "abc", noop);
    FAIL() << "an unbalanced group compiled";
  } catch (const PatternError& e) {
    EXPECT_NE(std::string(e.what()).find("does not compile"), std::string::npos);
  }
  EXPECT_THROW(PatternScan("", "abc", noop), PatternError);
}

// A search that tries every start and scans to the end from each is
// quadratic without ever deepening Boost's stack, and Boost counts its single
// character repeats as one step: on a page of the 16 MiB limit it would run
// for hours before Boost's own limit. The scan's budget ends it.
TEST(PatternScan, ARunawaySearchOnAPageOfTheSizeLimitGivesUpWithinASecond) {
  const std::string page = std::string(16 * 1024 * 1024, 'a');
  const auto started = std::chrono::steady_clock::now();
  try {
    PatternScan("a[^z]*z", page, [](const std::string&) { return true; });
    ADD_FAILURE() << "the runaway search finished";
  } catch (const PatternError& e) {
    EXPECT_NE(std::string(e.what()).find("too expensive"), std::string::npos) << e.what();
  }
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_GE(took, std::chrono::milliseconds(900));
  EXPECT_LT(took, std::chrono::seconds(3));
}

// Many searches, each slow but within its second, must not hold a page for
// minutes either: the scan's searches together have a budget of their own.
TEST(PatternScan, ManySlowSearchesEndAtTheScansWholeBudget) {
  std::string page;
  for (int i = 0; i < 2000; ++i) page += std::string(2000, 'a') + "c";
  ScanLimits limits;
  limits.perScan = std::chrono::milliseconds(300);
  int matches = 0;
  const auto started = std::chrono::steady_clock::now();
  try {
    PatternScan("a[^c]*b|c", page, [&](const std::string&) { return ++matches, true; }, limits);
    ADD_FAILURE() << "the scan finished";
  } catch (const PatternError& e) {
    EXPECT_EQ(e.kind(), PatternError::Kind::Runaway);
    EXPECT_NE(std::string(e.what()).find("more than 300 ms in all"), std::string::npos) << e.what();
  }
  EXPECT_GT(matches, 0) << "each search on its own finished";
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
}

TEST(PatternScan, AStopEndsTheScanBeforeItsNextSearchAndInsideOne) {
  StopSignal stop;
  ScanLimits limits;
  limits.stop = &stop;
  // After the record in hand: the handler asks for the stop, no further record comes.
  std::vector<std::string> records;
  EXPECT_THROW(PatternScan("(a)", "aaaa",
                           [&](const std::string& record) {
                             records.push_back(record);
                             stop.request();
                             return true;
                           },
                           limits),
               ScanStopped);
  EXPECT_EQ(records.size(), 1u);

  // Inside a search under way, long before its own limit.
  StopSignal stopLater;
  limits.stop = &stopLater;
  limits.perSearch = std::chrono::seconds(60);
  auto stopper = std::async(std::launch::async, [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    stopLater.request();
  });
  const auto started = std::chrono::steady_clock::now();
  EXPECT_THROW(PatternScan("a[^z]*z", std::string(4 * 1024 * 1024, 'a'), [](const std::string&) { return true; },
                           limits),
               ScanStopped);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  stopper.get();
}

TEST(PatternScan, RunawaySearchOnALargePageThrowsPatternError) {
  const std::string page = std::string(400 * 1024, 'a') + "x";
  for (const char* pattern : {"(a*)*b", "(a|aa)*b"}) {
    try {
      PatternScan(pattern, page, [](const std::string&) { return true; });
      ADD_FAILURE() << pattern << " finished";
    } catch (const PatternError& e) {
      EXPECT_NE(std::string(e.what()).find("too expensive"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace gleaner
