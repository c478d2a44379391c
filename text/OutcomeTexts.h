// The texts with which a run tells how it ended, as GBK: the short reason
// of a failed download, the opening the status line's summary gets for each
// way a run can end, and the message a user reads when a run failed. What
// happened comes first, then what to do.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gleaner::literals {

// Why a download failed, in a few words ("HTTP 404", "无法连接服务器").
enum class DownloadReason { Status, Unreachable, NoAnswer, BrokenOff, TooLarge, Redirect, BadAddress, Aborted, Other };
std::string downloadReason(DownloadReason reason, int status);

// The status line's opening, then "：" before the summary line.
// 第%d页下载失败（%s），采集到第%d页为止
std::string pageFailedOpening(int page, std::string_view reason);
// 第%d页下载失败（%s），没有采集到任何页面
std::string nothingDownloadedOpening(int page, std::string_view reason);
// 商品页面下载失败（%s）
std::string itemPageFailedOpening(std::string_view reason);
// 搜索结果在第%d页结束 / 评价在第%d页结束
std::string resultsEndedOpening(int page, bool reviews);
// 已停止
std::string stoppedOpening();
// 不是有评价的淘宝单品页面
std::string notAnItemPageOpening();
// 页面已下载，但解析全部失败
std::string extractionsFailedOpening();
// opening, "：", line
std::string openedLine(std::string_view opening, std::string_view line);

// Messages of failed runs. keptRows: the rows the list keeps (said when > 0).
// 第%d页下载失败（%s），采集到第%d页为止。 已采集到的%d条结果保留在列表中。 请检查网络连接，稍后再按“采集”重新采集。
std::string pageFailedMessage(int page, std::string_view reason, int keptRows);
// 没有下载到任何页面：第1页下载失败（%s）。 请检查网络连接和连接设置（代理），稍后再按“采集”。
std::string nothingDownloadedMessage(std::string_view reason);
// 填写的网址不是有评价的淘宝单品页面。 请在“淘宝单品买家采集”页填入一件有评价的商品的网址（不是店铺地址），再按“采集”。
std::string notAnItemPageMessage();
// 页面已下载，但每一页的解析都失败了：规则文件缺失、损坏或无法从规则服务器下载。 请检查网络和规则服务器（GLEANER_RULE_SERVER）后再按“采集”。
std::string extractionsFailedMessage(int keptRows);
// ，详情页面下载失败%d次 (the summary's part for further pages that could not be had)
std::string lookupsFailedPart(int failures);

// A batch. subject: the entry's keyword (GBK); items: a buyers batch.
// 第%d/%d个关键词「%s」： / 第%d/%d个商品：
std::string batchEntryPrefix(std::size_t entry, std::size_t entries, std::string_view subject, bool items);
// 共%d个关键词： / 共%d个关键词（%d个提前结束）： (个商品 for items)
std::string batchOpening(std::size_t entries, std::size_t endedEarly, bool items);
// %d个关键词都没有下载到任何页面。 请检查网络连接和连接设置（代理），稍后再按“采集”。
std::string batchNothingDownloadedMessage(std::size_t entries, bool items);
// 有%d个关键词提前结束： then a line per entry, the kept rows, 详见状态栏。
std::string batchEndedEarlyMessage(std::size_t endedEarly, bool items, std::string_view entryLines, int keptRows);

}  // namespace gleaner::literals
