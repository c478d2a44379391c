#include "cli/RuleTrialReport.h"

#include <cstdio>

#include "extract/MatchRecord.h"
#include "extract/RuleSource.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner::cli {

namespace {

std::string utf8(std::string_view gbkText) { return gbk::toUtf8(gbkText); }

// What a rule is for, as its guide (rules/README.md) says it.
std::string purposeOf(const RuleFile& rule) {
  if (&rule == &rules::kOfferList) return "阿里巴巴卖家及其商品采集 · 1688 商品搜索结果页：每个商品一条记录，每条记录一行";
  if (&rule == &rules::kOfferDetail) return "阿里巴巴卖家及其商品采集 · 1688 商品页：第一条非空记录是商品名称";
  if (&rule == &rules::kOfferEmpty) return "阿里巴巴卖家及其商品采集 · 1688 商品搜索结果页：匹配即说明这一页本来就没有结果（可选）";
  if (&rule == &rules::kBuyerList) return "淘宝单品买家采集 · 评价页：每个买家一条记录“昵称,买家ID”，每条记录一行";
  if (&rule == &rules::kBuyerEmpty) return "淘宝单品买家采集 · 评价页：匹配即说明这一页没有评价（可选）";
  if (&rule == &rules::kProductList) return "淘宝卖家信息采集 · 淘宝搜索结果页：每个商品一条记录，卖家通过信用等级筛选的得出一行";
  if (&rule == &rules::kSellerBlock) return "淘宝卖家信息采集 · 淘宝搜索结果页：每个商品的卖家块（商品ID、卖家旺旺昵称、卖家ID）";
  if (&rule == &rules::kRatingSummary) return "淘宝卖家信息采集 · 卖家信用页：第一条含 href 的记录是信用分";
  return "淘宝卖家信息采集 · 淘宝搜索结果页：匹配即说明这一页本来就没有结果（可选）";
}


// Where a byte of the joined pattern stands in the rule file: "第 2 行第 15
// 个字节", or "第 2 行末尾" past its last byte.
std::string filePlaceOf(const std::string& ruleText, std::ptrdiff_t position) {
  std::ptrdiff_t lineStartInPattern = 0;
  std::size_t lineStart = 0;
  int line = 0;
  std::ptrdiff_t lastLength = 0;
  while (lineStart < ruleText.size()) {
    std::size_t lineEnd = ruleText.find("\r\n", lineStart);
    if (lineEnd == std::string::npos) lineEnd = ruleText.size();
    ++line;
    lastLength = static_cast<std::ptrdiff_t>(lineEnd - lineStart);
    if (position < lineStartInPattern + lastLength) {
      return "第 " + std::to_string(line) + " 行第 " + std::to_string(position - lineStartInPattern + 1) + " 个字节";
    }
    lineStartInPattern += lastLength;
    lineStart = lineEnd + 2;
  }
  return "第 " + std::to_string(line) + " 行末尾";
}

void printRow(std::ostream& out, const ResultRow& row) {
  out << "  行      ";
  for (std::size_t c = 0; c < kJobColumns; ++c) out << (c > 0 ? " | " : "") << quoted(row[c]);
  out << '\n';
}

}  // namespace

std::string quoted(std::string_view text) {
  std::string escaped;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = gbk::charLength(text, i);
    const auto c = static_cast<unsigned char>(text[i]);
    if (length == 1 && (c < 0x20 || c == 0x7F || c == '"' || c == '\\')) {
      switch (c) {
        case '\t': escaped += "\\t"; break;
        case '\r': escaped += "\\r"; break;
        case '\n': escaped += "\\n"; break;
        case '"': escaped += "\\\""; break;
        case '\\': escaped += "\\\\"; break;
        default: {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", c);
          escaped += hex;
        }
      }
    } else {
      escaped.append(text.substr(i, length));
    }
    i += length;
  }
  return "\"" + utf8(escaped) + "\"";
}

void printTrial(std::ostream& out, const TrialHeader& header, const RuleTrialInput& input,
                const RuleTrialResult& result, bool cleaned) {
  out << "规则    " << header.ruleName << "（" << header.ruleOrigin << "）\n";
  if (input.rule != nullptr) out << "用途    " << purposeOf(*input.rule) << '\n';
  out << "表达式  " << result.pattern.size() << " 字节，" << result.groupCount
      << " 个捕获组；Perl 语法，不区分大小写，每次搜索最多 1 秒\n";
  out << "页面    " << header.pageOrigin << "，" << input.page.size() << " 字节"
      << (header.lineEndsAdded ? "（和运行时读到的一样，每个换行前补了 CR，字节位置按此计算）" : "") << '\n';
  if (input.rule != nullptr && input.rule->job == Job::Buyers && input.rule->role == RuleRole::List) {
    out << "        （第 0 列商品名称和第 3 列商品网址来自运行开始时读取的商品页，这里为空）\n";
  }
  int rows = 0;
  for (std::size_t i = 0; i < result.matches.size(); ++i) {
    const TrialMatch& match = result.matches[i];
    out << "\n记录 " << i + 1 << "  字节 " << match.begin << "-" << match.end << '\n';
    for (std::size_t k = match.groups.size(); k >= 1; --k) {
      const auto& group = match.groups[k - 1];
      out << "  第" << k << "组   " << (group ? quoted(*group) : "（没有参与匹配）") << '\n';
      if (cleaned && group) {
        out << "          清理后 " << quoted(MatchField(*group, k == match.groups.size())) << '\n';
      }
    }
    out << "  记录    " << quoted(match.record) << '\n';
    if (match.row) {
      printRow(out, *match.row);
      ++rows;
    } else if (input.rule != nullptr && input.rule->role == RuleRole::List) {
      out << "  行      （这条记录不产生行）\n";
    }
    for (const auto& [column, text] : match.cells) {
      out << "  第" << column << "列    " << utf8(columnsOf(input.rule->job)[static_cast<std::size_t>(column)].header)
          << " = " << quoted(text) << '\n';
    }
  }
  for (const std::string& report : result.rowReports) out << "\n构造行时出错：" << utf8(gbk::printable(report));
  out << "\n共 " << result.matches.size() << " 条记录";
  if (input.rule != nullptr && input.rule->role == RuleRole::List) out << "，" << rows << " 行";
  if (input.rule != nullptr && input.rule->role == RuleRole::EmptyMarker && !result.matches.empty()) {
    out << "：这一页是空结果页";
  }
  out << '\n';
}

void printCompileFailure(std::ostream& err, const TrialHeader& header, const RuleTrialInput& input,
                         const PatternError& failure) {
  if (failure.kind() == PatternError::Kind::Empty) {
    err << "gleaner-cli: 规则 " << header.ruleName << " 是空的，运行时会被当作损坏的规则。请写入规则再试。\n";
    return;
  }
  err << "gleaner-cli: 规则 " << header.ruleName << " 无法编译";
  if (failure.position() >= 0) {
    const auto position = static_cast<std::size_t>(failure.position());
    const bool inside = position < ruleTextToPattern(input.ruleText).size();
    err << "：出错位置在表达式" << (inside ? "第 " + std::to_string(position + 1) + " 个字节" : std::string("末尾"))
        << "（规则文件" << filePlaceOf(input.ruleText, failure.position()) << "）";
  }
  err << "。\n请按下面的说明改正规则文件再试。\nBoost.Regex: " << utf8(gbk::printable(failure.detail())) << '\n';
}

void printRunaway(std::ostream& err, const TrialHeader& header, const RuleTrialResult& result) {
  err << "gleaner-cli: 规则 " << header.ruleName << " 在第 " << result.matches.size() + 1
      << " 次搜索时超出了限制（每次搜索 1 秒，或正则引擎的复杂度上限），运行时这一页会失败。\n"
      << "请改写规则，避免嵌套的重复和大范围回溯（例如用 [^<>]*+ 代替 .*?）。\n"
      << "(" << utf8(gbk::printable(result.failure->what())) << ")\n";
}

void printEmptyMatch(std::ostream& err, const TrialHeader& header, const RuleTrialResult& result) {
  err << "gleaner-cli: 规则 " << header.ruleName << " 可以匹配空文本";
  if (result.emptyMatchAt) err << "（在页面第 " << *result.emptyMatchAt << " 个字节处得到空匹配）";
  err << "，运行时会在页面的每个位置得到空记录。请让规则至少匹配一个确定的字符。\n";
}

void printNothingFound(std::ostream& err, const TrialHeader& header, const RuleTrialInput& input) {
  if (input.rule != nullptr && input.rule->role == RuleRole::EmptyMarker) {
    err << "gleaner-cli: 标记 " << header.ruleName << " 没有匹配：这一页不是空结果页。\n";
    return;
  }
  err << "gleaner-cli: 规则 " << header.ruleName << " 在这一页上没有找到任何记录：网站的页面可能改版了，"
      << "请对照页面源代码更新规则（或确认这一页本来就没有结果）。\n";
}

}  // namespace gleaner::cli
