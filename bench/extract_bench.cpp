// Pattern scans with the shipped rule files over big pages of the kind each
// rule is written for, and the cleaner over a long field. The rule files are
// read from the source tree this file belongs to; the pages come from the
// sample site's generators.
#include <benchmark/benchmark.h>

#include <boost/regex.hpp>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "extract/HtmlTextCleaner.h"
#include "extract/PatternError.h"
#include "extract/PatternScan.h"
#include "sample-site/HostileFiller.h"
#include "sample-site/SamplePages.h"
#include "text/GbkText.h"

namespace {

using gleaner::sample::PageKind;

std::string readRule(const std::string& relative) {
  const std::filesystem::path path =
      std::filesystem::path(__FILE__).parent_path().parent_path() / "rules" / "files" / relative;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::stringstream text;
  text << in.rdbuf();
  // The fetched file's lines run together, as the extractors join them.
  return gleaner::gbk::removeAll(gleaner::gbk::removeAll(text.str(), "\r\n"), "\n");
}

// The whole page, every record handed over: what a list rule costs, and an
// upper bound for the lookups, which stop at their first fit.
void scanPage(benchmark::State& state, const std::string& rule, PageKind kind) {
  const std::string pattern = readRule(rule);
  const std::string page = gleaner::sample::SamplePages().bigPage(kind, static_cast<std::size_t>(state.range(0)));
  std::int64_t records = 0;
  for (auto _ : state) {
    records = 0;
    gleaner::PatternScan(pattern, page, [&](const std::string& record) {
      benchmark::DoNotOptimize(record.data());
      ++records;
      return true;
    });
  }
  state.counters["records"] = static_cast<double>(records);
  state.counters["page_kb"] = static_cast<double>(page.size()) / 1024.0;
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}

void BM_ReviewPage_ExtractAllText(benchmark::State& state) {
  scanPage(state, "taobao/ExtractAllText.txt", PageKind::Reviews);
}
void BM_OfferSearchPage_ExtractTextAImg(benchmark::State& state) {
  scanPage(state, "ali/ExtractTextAImg.txt", PageKind::OfferSearch);
}
void BM_OfferDetailPage_ExtractTextAImg01(benchmark::State& state) {
  scanPage(state, "ali/ExtractTextAImg01.txt", PageKind::OfferDetail);
}
void BM_TaobaoSearchPage_ExtractTextAImg3(benchmark::State& state) {
  scanPage(state, "taobao/ExtractTextAImg3.txt", PageKind::TaobaoSearch);
}
void BM_TaobaoSearchPage_ExtractImg(benchmark::State& state) {
  scanPage(state, "taobao/ExtractImg.txt", PageKind::TaobaoSearch);
}
void BM_RatingPage_ExtractTextAImg31(benchmark::State& state) {
  scanPage(state, "taobao/ExtractTextAImg31.txt", PageKind::SellerRating);
}

// Pages crafted against backtracking patterns (sample-site/HostileFiller.h):
// about 1 MB of never-closed openings before the page's real records.
constexpr std::size_t kHostileBytes = 1024 * 1024;

std::string hostilePage(PageKind kind) {
  return gleaner::sample::withHostileFiller(kind, gleaner::sample::SamplePages().bigPage(kind, 0), kHostileBytes);
}

// The offer rule as it was shipped before its runs were bounded by "<" and
// ">": from every "<a " its look-aheads scan to the next ">", however far.
constexpr const char* kOfferRuleBefore =
    R"rule(<a\s(?=[^>]*?\s(offerid="[^"]*"))(?=[^>]*?\s(memberid="[^"]*"))(?=[^>]*?\stitle="([^"]*)"))rule";

// A scan with Boost alone, as the extractors scanned before the search budget:
// only Boost's own complexity limit ends it.
void plainBoostScan(benchmark::State& state, const std::string& pattern, const std::string& page) {
  const boost::regex regex(pattern, boost::regex::perl | boost::regex::icase);
  std::int64_t records = 0;
  bool gaveUp = false;
  for (auto _ : state) {
    records = 0;
    try {
      boost::smatch match;
      for (auto from = page.cbegin(); boost::regex_search(from, page.cend(), match, regex); from = match[0].second) {
        ++records;
      }
    } catch (const std::exception&) {
      gaveUp = true;
    }
  }
  state.counters["records"] = static_cast<double>(records);
  state.counters["gave_up"] = gaveUp ? 1 : 0;
}

// PatternScan with its budget: a search that runs away gives up after 1 s.
void budgetedScan(benchmark::State& state, const std::string& pattern, const std::string& page) {
  std::int64_t records = 0;
  bool gaveUp = false;
  for (auto _ : state) {
    records = 0;
    try {
      gleaner::PatternScan(pattern, page, [&](const std::string&) {
        ++records;
        return true;
      });
    } catch (const gleaner::PatternError&) {
      gaveUp = true;
    }
  }
  state.counters["records"] = static_cast<double>(records);
  state.counters["gave_up"] = gaveUp ? 1 : 0;
}

// Before and after on the 1 MB hostile offer search page, in one run.
void BM_HostileOfferPage_RuleBefore_PlainBoost(benchmark::State& state) {
  plainBoostScan(state, kOfferRuleBefore, hostilePage(PageKind::OfferSearch));
}
void BM_HostileOfferPage_RuleBefore_Budgeted(benchmark::State& state) {
  budgetedScan(state, kOfferRuleBefore, hostilePage(PageKind::OfferSearch));
}
void BM_HostileOfferPage_ShippedRule(benchmark::State& state) {
  budgetedScan(state, readRule("ali/ExtractTextAImg.txt"), hostilePage(PageKind::OfferSearch));
}

// What the search budget costs on an ordinary page: the shipped offer rule
// through Boost alone, to set beside BM_OfferSearchPage_ExtractTextAImg.
void BM_OfferSearchPage_ExtractTextAImg_PlainBoost(benchmark::State& state) {
  const std::string page = gleaner::sample::SamplePages().bigPage(PageKind::OfferSearch, static_cast<std::size_t>(state.range(0)));
  plainBoostScan(state, readRule("ali/ExtractTextAImg.txt"), page);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}

// Every shipped rule over the hostile page of its kind.
void hostileScan(benchmark::State& state, const std::string& rule, PageKind kind) {
  budgetedScan(state, readRule(rule), hostilePage(kind));
}
void BM_Hostile_ExtractAllText(benchmark::State& state) { hostileScan(state, "taobao/ExtractAllText.txt", PageKind::Reviews); }
void BM_Hostile_ExtractTextAImg01(benchmark::State& state) {
  hostileScan(state, "ali/ExtractTextAImg01.txt", PageKind::OfferDetail);
}
void BM_Hostile_ExtractTextAImg3(benchmark::State& state) {
  hostileScan(state, "taobao/ExtractTextAImg3.txt", PageKind::TaobaoSearch);
}
void BM_Hostile_ExtractImg(benchmark::State& state) { hostileScan(state, "taobao/ExtractImg.txt", PageKind::TaobaoSearch); }
void BM_Hostile_ExtractTextAImg31(benchmark::State& state) {
  hostileScan(state, "taobao/ExtractTextAImg31.txt", PageKind::SellerRating);
}

// A long field full of what the cleaner removes, between Chinese text with
// trail bytes in the ASCII range (億 83 7C is not a "|").
void BM_HtmlTextCleaner_LongField(benchmark::State& state) {
  const std::string chunk =
      "\xD6\xD0\xB9\xFA\x83\x7C\xBA\xCB\xCC\xD2 &nbsp;&amp;&quot;x&quot; | a-b / (c) ... #\r\n\xA1\xFA\xA1\xF5\t";
  std::string field;
  while (field.size() < static_cast<std::size_t>(state.range(0))) field += chunk;
  for (auto _ : state) benchmark::DoNotOptimize(gleaner::HtmlTextCleaner(field));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(field.size()));
}

constexpr std::int64_t kKB = 1024;

}  // namespace

BENCHMARK(BM_ReviewPage_ExtractAllText)->Arg(200 * kKB)->Arg(400 * kKB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OfferSearchPage_ExtractTextAImg)->Arg(200 * kKB)->Arg(400 * kKB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OfferSearchPage_ExtractTextAImg_PlainBoost)->Arg(400 * kKB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OfferDetailPage_ExtractTextAImg01)->Arg(200 * kKB)->Arg(400 * kKB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TaobaoSearchPage_ExtractTextAImg3)->Arg(200 * kKB)->Arg(400 * kKB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TaobaoSearchPage_ExtractImg)->Arg(200 * kKB)->Arg(400 * kKB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RatingPage_ExtractTextAImg31)->Arg(200 * kKB)->Arg(400 * kKB)->Unit(benchmark::kMillisecond);
// The plain scan of the rule before runs until Boost's own limit: about a
// hundred seconds for one iteration.
BENCHMARK(BM_HostileOfferPage_RuleBefore_PlainBoost)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileOfferPage_RuleBefore_Budgeted)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileOfferPage_ShippedRule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hostile_ExtractAllText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hostile_ExtractTextAImg01)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hostile_ExtractTextAImg3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hostile_ExtractImg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hostile_ExtractTextAImg31)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlTextCleaner_LongField)->Arg(4 * kKB)->Arg(64 * kKB)->Unit(benchmark::kMicrosecond);
