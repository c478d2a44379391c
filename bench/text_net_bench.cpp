// The text helpers over a result page of realistic size, the page text made
// of a body, and one result page download from a loopback server.
#include <benchmark/benchmark.h>

#include <string>

#include "net/PageDownload.h"
#include "tests/support/LoopbackServer.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace {

using namespace gleaner;

// About 200 KB of offer-list markup, mostly Chinese, with CR LF line ends as
// the page download delivers pages, and the pager's marker only near the end.
const std::string& resultPage() {
  static const std::string page = [] {
    std::string text = gbk::fromUtf8("<html><head><title>核桃 - 阿里巴巴</title></head><body>\r\n");
    int offer = 0;
    while (text.size() < 200 * 1024) {
      ++offer;
      text += gbk::fromUtf8(
          "<li class=\"offer\"><a href=\"http://detail.1688.com/offer/" + std::to_string(1000000 + offer) +
          ".html\" title=\"新疆特产薄皮核桃&nbsp;纸皮核桃 原味 500g 包邮\">新疆特产薄皮核桃</a>\r\n"
          "<span class=\"company\">临安市山核桃有限公司</span>&nbsp;<span class=\"price\">&yen;25.80</span>\r\n"
          "<a class=\"wangwang\" href=\"http://amos.im.alisoft.com/msg.aw?uid=seller" +
          std::to_string(offer) + "\">旺旺在线</a></li>\r\n");
    }
    text += gbk::fromUtf8("<div class=\"page\"><a href=\"?beginPage=2\">下一页</a></div></body></html>\r\n");
    return text;
  }();
  return page;
}

void BM_GbkFindLateMarker(benchmark::State& state) {
  const std::string& page = resultPage();
  const std::string marker = gbk::fromUtf8("下一页");
  for (auto _ : state) benchmark::DoNotOptimize(gbk::find(page, marker));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_GbkFindLateMarker);

void BM_GbkRemoveAllNbsp(benchmark::State& state) {
  const std::string& page = resultPage();
  for (auto _ : state) benchmark::DoNotOptimize(gbk::removeAll(page, "&nbsp;"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_GbkRemoveAllNbsp);

void BM_GbkRemoveAllCrLf(benchmark::State& state) {
  const std::string& page = resultPage();
  for (auto _ : state) benchmark::DoNotOptimize(gbk::removeAll(page, "\r\n"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_GbkRemoveAllCrLf);

// The page text of a body with LF line ends: every line gains its CR.
void BM_PageTextOfLfBody(benchmark::State& state) {
  const std::string body = gbk::removeAll(resultPage(), "\r");
  for (auto _ : state) benchmark::DoNotOptimize(pageTextOf(body));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_PageTextOfLfBody);

void BM_ResultPageLoopbackDownload(benchmark::State& state) {
  const std::string body = gbk::removeAll(resultPage(), "\r");  // served with LF line ends; the download gives them back as CR LF
  gleaner::testing::LoopbackServer server([&body](httplib::Server& s) {
    s.Get("/selloffer/offer_search.htm", [&body](const httplib::Request&, httplib::Response& res) {
      res.set_content(body, "text/html; charset=GBK");
    });
  });
  const std::string address = server.url("/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2#beginPage=1");
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(downloadPage(PageRequest::resultPage(address)).text.size());
    } catch (const std::exception& failure) {
      state.SkipWithError(failure.what());
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_ResultPageLoopbackDownload)->Unit(benchmark::kMillisecond);

}  // namespace
