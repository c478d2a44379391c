// The texts of a run's rule health, as GBK: the warnings the status line
// shows when a rule may have stopped fitting the site, and the one-line
// summary it keeps at the end of a run. Rule names are ASCII file names.
#pragma once

#include <string>
#include <string_view>

namespace gleaner::literals {

// 第%d页没有找到任何记录：规则 %s 可能已失效，请更新规则或检查页面
// (the job's empty-result marker says the page is not empty)
std::string ruleMayBeBroken(int page, std::string_view rule);
// 第%d页没有找到任何记录：可能是规则 %s 已失效，也可能这一页本来就没有结果，请检查页面或更新规则
// (no marker, or it failed: the run cannot tell)
std::string ruleOrEmptyCannotTell(int page, std::string_view rule);
// 第%d页搜索结果为空：没有找到相关的结果，请换一个关键词或减少页数
std::string searchResultEmpty(int page);
// 第%d页没有评价：这件商品的评价已经全部采集完
std::string reviewsEmpty(int page);
// 规则 %s 无法使用（出错%d次），请检查网络和规则服务器，或更新规则
std::string ruleUnusable(std::string_view rule, int failures);
// 找到了%d条记录，却没有得到任何结果：规则 %s 在%d个页面上都没有找到内容，可能已失效，请更新规则或检查页面
std::string lookupRuleMayBeBroken(int records, std::string_view rule, int pages);

struct RunCounts {
  int pages = 0;
  int rows = 0;
  int pagesWithoutRecords = 0;
  int emptyResultPages = 0;  // of those, pages the site calls empty
  int ruleFailures = 0;
  int lookupsFailed = 0;  // further pages (offer, rating) that could not be had
};
// 采集结束：共%d页，%d条结果，%d页没有找到记录（其中%d页结果为空），规则出错%d次，详情页面下载失败%d次
// (the part in brackets only when some pages were empty results, the last
// part only when some further page could not be had)
std::string runSummary(const RunCounts& counts);
// The line of a run that ends on a warning: the warning, "；", the summary
// (the warning first, so that a narrow status line shows it).
std::string endOfRunLine(std::string_view summary, std::string_view warning);

}  // namespace gleaner::literals
