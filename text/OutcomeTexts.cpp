#include "text/OutcomeTexts.h"

#include <initializer_list>

namespace gleaner::literals {

namespace {

// 无法连接服务器
constexpr std::string_view kReasonUnreachable = "\xCE\xDE\xB7\xA8\xC1\xAC\xBD\xD3\xB7\xFE\xCE\xF1\xC6\xF7";
// 服务器没有响应
constexpr std::string_view kReasonNoAnswer = "\xB7\xFE\xCE\xF1\xC6\xF7\xC3\xBB\xD3\xD0\xCF\xEC\xD3\xA6";
// 连接中断
constexpr std::string_view kReasonBrokenOff = "\xC1\xAC\xBD\xD3\xD6\xD0\xB6\xCF";
// 页面过大
constexpr std::string_view kReasonTooLarge = "\xD2\xB3\xC3\xE6\xB9\xFD\xB4\xF3";
// 网页跳转无法跟随
constexpr std::string_view kReasonRedirect = "\xCD\xF8\xD2\xB3\xCC\xF8\xD7\xAA\xCE\xDE\xB7\xA8\xB8\xFA\xCB\xE6";
// 网址无效
constexpr std::string_view kReasonBadAddress = "\xCD\xF8\xD6\xB7\xCE\xDE\xD0\xA7";
// 下载被中止
constexpr std::string_view kReasonAborted = "\xCF\xC2\xD4\xD8\xB1\xBB\xD6\xD0\xD6\xB9";
// 下载出错
constexpr std::string_view kReasonOther = "\xCF\xC2\xD4\xD8\xB3\xF6\xB4\xED";
// 第
constexpr std::string_view kPage = "\xB5\xDA";
// 页下载失败（
constexpr std::string_view kPageFailed = "\xD2\xB3\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC\xA3\xA8";
// ），采集到第
constexpr std::string_view kCollectedUpTo = "\xA3\xA9\xA3\xAC\xB2\xC9\xBC\xAF\xB5\xBD\xB5\xDA";
// 页为止
constexpr std::string_view kPageEnd = "\xD2\xB3\xCE\xAA\xD6\xB9";
// ：
constexpr std::string_view kColon = "\xA3\xBA";
// 。
constexpr std::string_view kFullStop = "\xA1\xA3";
// ），没有采集到任何页面
constexpr std::string_view kNothingDownloaded = "\xA3\xA9\xA3\xAC\xC3\xBB\xD3\xD0\xB2\xC9\xBC\xAF\xB5\xBD\xC8\xCE\xBA\xCE\xD2\xB3\xC3\xE6";
// 商品页面下载失败（
constexpr std::string_view kItemPageFailed = "\xC9\xCC\xC6\xB7\xD2\xB3\xC3\xE6\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC\xA3\xA8";
// ）
constexpr std::string_view kCloseBracket = "\xA3\xA9";
// 搜索结果在第
constexpr std::string_view kSearchEndedAt = "\xCB\xD1\xCB\xF7\xBD\xE1\xB9\xFB\xD4\xDA\xB5\xDA";
// 评价在第
constexpr std::string_view kReviewsEndedAt = "\xC6\xC0\xBC\xDB\xD4\xDA\xB5\xDA";
// 页结束
constexpr std::string_view kEndedAtPage = "\xD2\xB3\xBD\xE1\xCA\xF8";
// 已停止
constexpr std::string_view kStopped = "\xD2\xD1\xCD\xA3\xD6\xB9";
// 不是有评价的淘宝单品页面
constexpr std::string_view kNotAnItemPage = "\xB2\xBB\xCA\xC7\xD3\xD0\xC6\xC0\xBC\xDB\xB5\xC4\xCC\xD4\xB1\xA6\xB5\xA5\xC6\xB7\xD2\xB3\xC3\xE6";
// 页面已下载，但解析全部失败
constexpr std::string_view kExtractionsFailed = "\xD2\xB3\xC3\xE6\xD2\xD1\xCF\xC2\xD4\xD8\xA3\xAC\xB5\xAB\xBD\xE2\xCE\xF6\xC8\xAB\xB2\xBF\xCA\xA7\xB0\xDC";
// 已采集到的
constexpr std::string_view kKeptRowsOpening = "\xD2\xD1\xB2\xC9\xBC\xAF\xB5\xBD\xB5\xC4";
// 条结果保留在列表中。
constexpr std::string_view kKeptRowsEnd = "\xCC\xF5\xBD\xE1\xB9\xFB\xB1\xA3\xC1\xF4\xD4\xDA\xC1\xD0\xB1\xED\xD6\xD0\xA1\xA3";
// 请检查网络连接，稍后再按“采集”重新采集。
constexpr std::string_view kPageFailedAdvice = "\xC7\xEB\xBC\xEC\xB2\xE9\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xA3\xAC\xC9\xD4\xBA\xF3\xD4\xD9\xB0\xB4\xA1\xB0\xB2\xC9\xBC\xAF\xA1\xB1\xD6\xD8\xD0\xC2\xB2\xC9\xBC\xAF\xA1\xA3";
// 没有下载到任何页面：第1页下载失败（
constexpr std::string_view kNothingDownloadedOpening = "\xC3\xBB\xD3\xD0\xCF\xC2\xD4\xD8\xB5\xBD\xC8\xCE\xBA\xCE\xD2\xB3\xC3\xE6\xA3\xBA\xB5\xDA" "1\xD2\xB3\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC\xA3\xA8";
// 请检查网络连接和连接设置（代理），稍后再按“采集”。
constexpr std::string_view kNothingDownloadedAdvice = "\xC7\xEB\xBC\xEC\xB2\xE9\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xBA\xCD\xC1\xAC\xBD\xD3\xC9\xE8\xD6\xC3\xA3\xA8\xB4\xFA\xC0\xED\xA3\xA9\xA3\xAC\xC9\xD4\xBA\xF3\xD4\xD9\xB0\xB4\xA1\xB0\xB2\xC9\xBC\xAF\xA1\xB1\xA1\xA3";
// 填写的网址不是有评价的淘宝单品页面。
constexpr std::string_view kNotAnItemPageMessage = "\xCC\xEE\xD0\xB4\xB5\xC4\xCD\xF8\xD6\xB7\xB2\xBB\xCA\xC7\xD3\xD0\xC6\xC0\xBC\xDB\xB5\xC4\xCC\xD4\xB1\xA6\xB5\xA5\xC6\xB7\xD2\xB3\xC3\xE6\xA1\xA3";
// 请在“淘宝单品买家采集”页填入一件有评价的商品的网址（不是店铺地址），再按“采集”。
constexpr std::string_view kNotAnItemPageAdvice = "\xC7\xEB\xD4\xDA\xA1\xB0\xCC\xD4\xB1\xA6\xB5\xA5\xC6\xB7\xC2\xF2\xBC\xD2\xB2\xC9\xBC\xAF\xA1\xB1\xD2\xB3\xCC\xEE\xC8\xEB\xD2\xBB\xBC\xFE\xD3\xD0\xC6\xC0\xBC\xDB\xB5\xC4\xC9\xCC\xC6\xB7\xB5\xC4\xCD\xF8\xD6\xB7\xA3\xA8\xB2\xBB\xCA\xC7\xB5\xEA\xC6\xCC\xB5\xD8\xD6\xB7\xA3\xA9\xA3\xAC\xD4\xD9\xB0\xB4\xA1\xB0\xB2\xC9\xBC\xAF\xA1\xB1\xA1\xA3";
// 页面已下载，但每一页的解析都失败了：规则文件缺失、损坏或无法从规则服务器下载。
constexpr std::string_view kExtractionsFailedMessage = "\xD2\xB3\xC3\xE6\xD2\xD1\xCF\xC2\xD4\xD8\xA3\xAC\xB5\xAB\xC3\xBF\xD2\xBB\xD2\xB3\xB5\xC4\xBD\xE2\xCE\xF6\xB6\xBC\xCA\xA7\xB0\xDC\xC1\xCB\xA3\xBA\xB9\xE6\xD4\xF2\xCE\xC4\xBC\xFE\xC8\xB1\xCA\xA7\xA1\xA2\xCB\xF0\xBB\xB5\xBB\xF2\xCE\xDE\xB7\xA8\xB4\xD3\xB9\xE6\xD4\xF2\xB7\xFE\xCE\xF1\xC6\xF7\xCF\xC2\xD4\xD8\xA1\xA3";
// 请检查网络和规则服务器（GLEANER_RULE_SERVER）后再按“采集”。
constexpr std::string_view kExtractionsFailedAdvice = "\xC7\xEB\xBC\xEC\xB2\xE9\xCD\xF8\xC2\xE7\xBA\xCD\xB9\xE6\xD4\xF2\xB7\xFE\xCE\xF1\xC6\xF7\xA3\xA8GLEANER_RULE_SERVER\xA3\xA9\xBA\xF3\xD4\xD9\xB0\xB4\xA1\xB0\xB2\xC9\xBC\xAF\xA1\xB1\xA1\xA3";
// ，详情页面下载失败
constexpr std::string_view kLookupsFailed = "\xA3\xAC\xCF\xEA\xC7\xE9\xD2\xB3\xC3\xE6\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC";
// 次
constexpr std::string_view kTimes = "\xB4\xCE";

// /
constexpr std::string_view kOf = "/";
// 个关键词「
constexpr std::string_view kKeywordsEntry = "\xB8\xF6\xB9\xD8\xBC\xFC\xB4\xCA\xA1\xB8";
// 个商品
constexpr std::string_view kItemsEntry = "\xB8\xF6\xC9\xCC\xC6\xB7";
// 」
constexpr std::string_view kCloseQuote = "\xA1\xB9";
// 共
constexpr std::string_view kTotal = "\xB9\xB2";
// 个关键词
constexpr std::string_view kKeywords = "\xB8\xF6\xB9\xD8\xBC\xFC\xB4\xCA";
// 个商品
constexpr std::string_view kItems = "\xB8\xF6\xC9\xCC\xC6\xB7";
// （
constexpr std::string_view kOpenBracket = "\xA3\xA8";
// 个提前结束
constexpr std::string_view kEndedEarly = "\xB8\xF6\xCC\xE1\xC7\xB0\xBD\xE1\xCA\xF8";
// 都没有下载到任何页面。
constexpr std::string_view kAllNothing = "\xB6\xBC\xC3\xBB\xD3\xD0\xCF\xC2\xD4\xD8\xB5\xBD\xC8\xCE\xBA\xCE\xD2\xB3\xC3\xE6\xA1\xA3";
// 提前结束
constexpr std::string_view kEndedEarlyVerb = "\xCC\xE1\xC7\xB0\xBD\xE1\xCA\xF8";
// 有
constexpr std::string_view kSome = "\xD3\xD0";
// 详见状态栏。
constexpr std::string_view kSeeStatus = "\xCF\xEA\xBC\xFB\xD7\xB4\xCC\xAC\xC0\xB8\xA1\xA3";

std::string text(std::initializer_list<std::string_view> parts) {
  std::string line;
  for (const std::string_view part : parts) line += part;
  return line;
}

std::string keptRowsSentence(int keptRows) {
  if (keptRows <= 0) return {};
  return text({kKeptRowsOpening, std::to_string(keptRows), kKeptRowsEnd});
}

}  // namespace

std::string downloadReason(DownloadReason reason, int status) {
  switch (reason) {
    case DownloadReason::Status: return "HTTP " + std::to_string(status);
    case DownloadReason::Unreachable: return std::string(kReasonUnreachable);
    case DownloadReason::NoAnswer: return std::string(kReasonNoAnswer);
    case DownloadReason::BrokenOff: return std::string(kReasonBrokenOff);
    case DownloadReason::TooLarge: return std::string(kReasonTooLarge);
    case DownloadReason::Redirect: return std::string(kReasonRedirect);
    case DownloadReason::BadAddress: return std::string(kReasonBadAddress);
    case DownloadReason::Aborted: return std::string(kReasonAborted);
    case DownloadReason::Other: break;
  }
  return std::string(kReasonOther);
}

std::string pageFailedOpening(int page, std::string_view reason) {
  return text({kPage, std::to_string(page), kPageFailed, reason, kCollectedUpTo, std::to_string(page - 1), kPageEnd});
}

std::string nothingDownloadedOpening(int page, std::string_view reason) {
  return text({kPage, std::to_string(page), kPageFailed, reason, kNothingDownloaded});
}

std::string itemPageFailedOpening(std::string_view reason) { return text({kItemPageFailed, reason, kCloseBracket}); }

std::string resultsEndedOpening(int page, bool reviews) {
  return text({reviews ? kReviewsEndedAt : kSearchEndedAt, std::to_string(page), kEndedAtPage});
}

std::string stoppedOpening() { return std::string(kStopped); }

std::string notAnItemPageOpening() { return std::string(kNotAnItemPage); }

std::string extractionsFailedOpening() { return std::string(kExtractionsFailed); }

std::string openedLine(std::string_view opening, std::string_view line) { return text({opening, kColon, line}); }

std::string pageFailedMessage(int page, std::string_view reason, int keptRows) {
  return text({pageFailedOpening(page, reason), kFullStop, "\r\n", keptRowsSentence(keptRows), kPageFailedAdvice});
}

std::string nothingDownloadedMessage(std::string_view reason) {
  return text({kNothingDownloadedOpening, reason, kCloseBracket, kFullStop, "\r\n", kNothingDownloadedAdvice});
}

std::string notAnItemPageMessage() { return text({kNotAnItemPageMessage, "\r\n", kNotAnItemPageAdvice}); }

std::string extractionsFailedMessage(int keptRows) {
  return text({kExtractionsFailedMessage, "\r\n", kExtractionsFailedAdvice, keptRowsSentence(keptRows)});
}

std::string lookupsFailedPart(int failures) { return text({kLookupsFailed, std::to_string(failures), kTimes}); }

std::string batchEntryPrefix(std::size_t entry, std::size_t entries, std::string_view subject, bool items) {
  const std::string place = text({kPage, std::to_string(entry + 1), kOf, std::to_string(entries)});
  if (items) return text({place, kItemsEntry, kColon});
  return text({place, kKeywordsEntry, subject, kCloseQuote, kColon});
}

std::string batchOpening(std::size_t entries, std::size_t endedEarly, bool items) {
  std::string opening = text({kTotal, std::to_string(entries), items ? kItems : kKeywords});
  if (endedEarly > 0) opening = text({opening, kOpenBracket, std::to_string(endedEarly), kEndedEarly, kCloseBracket});
  return opening;
}

std::string batchNothingDownloadedMessage(std::size_t entries, bool items) {
  return text({std::to_string(entries), items ? kItems : kKeywords, kAllNothing, "\r\n", kNothingDownloadedAdvice});
}

std::string batchEndedEarlyMessage(std::size_t endedEarly, bool items, std::string_view entryLines, int keptRows) {
  return text({kSome, std::to_string(endedEarly), items ? kItems : kKeywords, kEndedEarlyVerb, kColon, "\r\n", entryLines,
               keptRowsSentence(keptRows), kSeeStatus});
}

}  // namespace gleaner::literals
