#include "text/HealthTexts.h"

#include "text/OutcomeTexts.h"

namespace gleaner::literals {

namespace {

// 第
constexpr std::string_view kPageOpening = "\xB5\xDA";
// 页没有找到任何记录：规则 (then the rule)
constexpr std::string_view kNoRecordsRule = "\xD2\xB3\xC3\xBB\xD3\xD0\xD5\xD2\xB5\xBD\xC8\xCE\xBA\xCE\xBC\xC7\xC2\xBC\xA3\xBA\xB9\xE6\xD4\xF2 ";
//  可能已失效，请更新规则或检查页面
constexpr std::string_view kMayBeBroken = " \xBF\xC9\xC4\xDC\xD2\xD1\xCA\xA7\xD0\xA7\xA3\xAC\xC7\xEB\xB8\xFC\xD0\xC2\xB9\xE6\xD4\xF2\xBB\xF2\xBC\xEC\xB2\xE9\xD2\xB3\xC3\xE6";
// 页没有找到任何记录：可能是规则 (then the rule)
constexpr std::string_view kNoRecordsMaybeRule = "\xD2\xB3\xC3\xBB\xD3\xD0\xD5\xD2\xB5\xBD\xC8\xCE\xBA\xCE\xBC\xC7\xC2\xBC\xA3\xBA\xBF\xC9\xC4\xDC\xCA\xC7\xB9\xE6\xD4\xF2 ";
//  已失效，也可能这一页本来就没有结果，请检查页面或更新规则
constexpr std::string_view kCannotTell = " \xD2\xD1\xCA\xA7\xD0\xA7\xA3\xAC\xD2\xB2\xBF\xC9\xC4\xDC\xD5\xE2\xD2\xBB\xD2\xB3\xB1\xBE\xC0\xB4\xBE\xCD\xC3\xBB\xD3\xD0\xBD\xE1\xB9\xFB\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xD2\xB3\xC3\xE6\xBB\xF2\xB8\xFC\xD0\xC2\xB9\xE6\xD4\xF2";
// 页搜索结果为空：没有找到相关的结果，请换一个关键词或减少页数
constexpr std::string_view kSearchResultEmpty = "\xD2\xB3\xCB\xD1\xCB\xF7\xBD\xE1\xB9\xFB\xCE\xAA\xBF\xD5\xA3\xBA\xC3\xBB\xD3\xD0\xD5\xD2\xB5\xBD\xCF\xE0\xB9\xD8\xB5\xC4\xBD\xE1\xB9\xFB\xA3\xAC\xC7\xEB\xBB\xBB\xD2\xBB\xB8\xF6\xB9\xD8\xBC\xFC\xB4\xCA\xBB\xF2\xBC\xF5\xC9\xD9\xD2\xB3\xCA\xFD";
// 页没有评价：这件商品的评价已经全部采集完
constexpr std::string_view kReviewsEmpty = "\xD2\xB3\xC3\xBB\xD3\xD0\xC6\xC0\xBC\xDB\xA3\xBA\xD5\xE2\xBC\xFE\xC9\xCC\xC6\xB7\xB5\xC4\xC6\xC0\xBC\xDB\xD2\xD1\xBE\xAD\xC8\xAB\xB2\xBF\xB2\xC9\xBC\xAF\xCD\xEA";
// 规则 (then the rule)
constexpr std::string_view kRule = "\xB9\xE6\xD4\xF2 ";
//  无法使用（出错 (then the count)
constexpr std::string_view kUnusable = " \xCE\xDE\xB7\xA8\xCA\xB9\xD3\xC3\xA3\xA8\xB3\xF6\xB4\xED";
// 次），请检查网络和规则服务器，或更新规则
constexpr std::string_view kUnusableAdvice = "\xB4\xCE\xA3\xA9\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xCD\xF8\xC2\xE7\xBA\xCD\xB9\xE6\xD4\xF2\xB7\xFE\xCE\xF1\xC6\xF7\xA3\xAC\xBB\xF2\xB8\xFC\xD0\xC2\xB9\xE6\xD4\xF2";
// 找到了 (then the count)
constexpr std::string_view kFound = "\xD5\xD2\xB5\xBD\xC1\xCB";
// 条记录，却没有得到任何结果：规则 (then the rule)
constexpr std::string_view kRecordsNoRows = "\xCC\xF5\xBC\xC7\xC2\xBC\xA3\xAC\xC8\xB4\xC3\xBB\xD3\xD0\xB5\xC3\xB5\xBD\xC8\xCE\xBA\xCE\xBD\xE1\xB9\xFB\xA3\xBA\xB9\xE6\xD4\xF2 ";
//  在 (then the count)
constexpr std::string_view kOn = " \xD4\xDA";
// 个页面上都没有找到内容，可能已失效，请更新规则或检查页面
constexpr std::string_view kFoundNothing = "\xB8\xF6\xD2\xB3\xC3\xE6\xC9\xCF\xB6\xBC\xC3\xBB\xD3\xD0\xD5\xD2\xB5\xBD\xC4\xDA\xC8\xDD\xA3\xAC\xBF\xC9\xC4\xDC\xD2\xD1\xCA\xA7\xD0\xA7\xA3\xAC\xC7\xEB\xB8\xFC\xD0\xC2\xB9\xE6\xD4\xF2\xBB\xF2\xBC\xEC\xB2\xE9\xD2\xB3\xC3\xE6";
// 采集结束：共
constexpr std::string_view kSummaryOpening = "\xB2\xC9\xBC\xAF\xBD\xE1\xCA\xF8\xA3\xBA\xB9\xB2";
// 页，
constexpr std::string_view kPagesComma = "\xD2\xB3\xA3\xAC";
// 条结果，
constexpr std::string_view kRowsComma = "\xCC\xF5\xBD\xE1\xB9\xFB\xA3\xAC";
// 页没有找到记录
constexpr std::string_view kWithoutRecords = "\xD2\xB3\xC3\xBB\xD3\xD0\xD5\xD2\xB5\xBD\xBC\xC7\xC2\xBC";
// （其中
constexpr std::string_view kOfWhich = "\xA3\xA8\xC6\xE4\xD6\xD0";
// 页结果为空）
constexpr std::string_view kEmptyResults = "\xD2\xB3\xBD\xE1\xB9\xFB\xCE\xAA\xBF\xD5\xA3\xA9";
// ，规则出错
constexpr std::string_view kRuleFailures = "\xA3\xAC\xB9\xE6\xD4\xF2\xB3\xF6\xB4\xED";
// 次
constexpr std::string_view kTimes = "\xB4\xCE";
// ；
constexpr std::string_view kJoin = "\xA3\xBB";

// Texts and numbers run together.
class Line {
 public:
  Line& operator<<(std::string_view text) {
    text_ += text;
    return *this;
  }
  Line& operator<<(int n) {
    text_ += std::to_string(n);
    return *this;
  }
  std::string str() const { return text_; }

 private:
  std::string text_;
};

}  // namespace

std::string ruleMayBeBroken(int page, std::string_view rule) {
  return (Line() << kPageOpening << page << kNoRecordsRule << rule << kMayBeBroken).str();
}

std::string ruleOrEmptyCannotTell(int page, std::string_view rule) {
  return (Line() << kPageOpening << page << kNoRecordsMaybeRule << rule << kCannotTell).str();
}

std::string searchResultEmpty(int page) { return (Line() << kPageOpening << page << kSearchResultEmpty).str(); }

std::string reviewsEmpty(int page) { return (Line() << kPageOpening << page << kReviewsEmpty).str(); }

std::string ruleUnusable(std::string_view rule, int failures) {
  return (Line() << kRule << rule << kUnusable << failures << kUnusableAdvice).str();
}

std::string lookupRuleMayBeBroken(int records, std::string_view rule, int pages) {
  return (Line() << kFound << records << kRecordsNoRows << rule << kOn << pages << kFoundNothing).str();
}

std::string runSummary(const RunCounts& counts) {
  Line line;
  line << kSummaryOpening << counts.pages << kPagesComma << counts.rows << kRowsComma << counts.pagesWithoutRecords
       << kWithoutRecords;
  if (counts.emptyResultPages > 0) line << kOfWhich << counts.emptyResultPages << kEmptyResults;
  line << kRuleFailures << counts.ruleFailures << kTimes;
  if (counts.lookupsFailed > 0) line << lookupsFailedPart(counts.lookupsFailed);
  return line.str();
}

std::string endOfRunLine(std::string_view summary, std::string_view warning) {
  return (Line() << warning << kJoin << summary).str();
}

}  // namespace gleaner::literals
