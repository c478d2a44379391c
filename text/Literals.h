// The system's own texts, defined once, as GBK bytes.
// Each constant's comment shows the text; the escapes are its GBK encoding.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace gleaner::literals {
// 请填写关键词 — refusal: no keyword
inline constexpr std::string_view kFillKeyword = "\xC7\xEB\xCC\xEE\xD0\xB4\xB9\xD8\xBC\xFC\xB4\xCA";
// 请填写搜索的页数 — refusal: no page count (offer job)
inline constexpr std::string_view kFillPageCount = "\xC7\xEB\xCC\xEE\xD0\xB4\xCB\xD1\xCB\xF7\xB5\xC4\xD2\xB3\xCA\xFD";
// 搜索的页数只能填写数字，请重新填写（0 = 只采集第1页） — refusal: a page count that is no number
inline constexpr std::string_view kPageCountNotNumber =
    "\xCB\xD1\xCB\xF7\xB5\xC4\xD2\xB3\xCA\xFD\xD6\xBB\xC4\xDC\xCC\xEE\xD0\xB4\xCA\xFD\xD7\xD6\xA3\xAC\xC7\xEB\xD6\xD8"
    "\xD0\xC2\xCC\xEE\xD0\xB4\xA3\xA8" "0 = \xD6\xBB\xB2\xC9\xBC\xAF\xB5\xDA" "1\xD2\xB3\xA3\xA9";
// 关键词中的 — before the characters a search cannot hold
inline constexpr std::string_view kLeftOutBefore = "\xB9\xD8\xBC\xFC\xB4\xCA\xD6\xD0\xB5\xC4";
// 无法在网站上搜索，已略去，只按其余的文字搜索。 — after them
inline constexpr std::string_view kLeftOutAfter =
    "\xCE\xDE\xB7\xA8\xD4\xDA\xCD\xF8\xD5\xBE\xC9\xCF\xCB\xD1\xCB\xF7\xA3\xAC\xD2\xD1\xC2\xD4\xC8\xA5\xA3\xAC\xD6\xBB\xB0\xB4"
    "\xC6\xE4\xD3\xE0\xB5\xC4\xCE\xC4\xD7\xD6\xCB\xD1\xCB\xF7\xA1\xA3";
// 任务完成！ — end of a run
inline constexpr std::string_view kRunFinished = "\xC8\xCE\xCE\xF1\xCD\xEA\xB3\xC9\xA3\xA1";
// 正在采集第 — status: "正在采集第%d页"
inline constexpr std::string_view kCollectingPagePrefix = "\xD5\xFD\xD4\xDA\xB2\xC9\xBC\xAF\xB5\xDA";
// 页
inline constexpr std::string_view kCollectingPageSuffix = "\xD2\xB3";
// \r\nDownload failed!\r\n — follows the address in a failed page's report
inline constexpr std::string_view kDownloadFailed = "\r\nDownload failed!\r\n";
// 卖家信用： — rating page label, full-width colon (A3 BA)
inline constexpr std::string_view kSellerCreditLabelPage = "\xC2\xF4\xBC\xD2\xD0\xC5\xD3\xC3\xA3\xBA";
// 卖家信用:  — credit cell label, ASCII colon and a space
inline constexpr std::string_view kSellerCreditLabelCell = "\xC2\xF4\xBC\xD2\xD0\xC5\xD3\xC3: ";
// 举报该宝贝 — marks a product record to skip
inline constexpr std::string_view kReportItem = "\xBE\xD9\xB1\xA8\xB8\xC3\xB1\xA6\xB1\xB4";
// 所有信用等级 — level filter that lets every seller pass
inline constexpr std::string_view kAllCreditLevels = "\xCB\xF9\xD3\xD0\xD0\xC5\xD3\xC3\xB5\xC8\xBC\xB6";
// 商品页面下载失败： — a buyers run whose item page cannot be downloaded
inline constexpr std::string_view kItemPageFailed = "\xC9\xCC\xC6\xB7\xD2\xB3\xC3\xE6\xCF\xC2\xD4\xD8\xCA\xA7\xB0\xDC\xA3\xBA";
// 淘宝采集程序已在运行中！ — second instance refused
inline constexpr std::string_view kAlreadyRunning = "\xCC\xD4\xB1\xA6\xB2\xC9\xBC\xAF\xB3\xCC\xD0\xF2\xD2\xD1\xD4\xDA\xD4\xCB\xD0\xD0\xD6\xD0\xA3\xA1";
//   \r\n
inline constexpr std::string_view kStatusLogInitial = "  \r\n";
// 系统。\r\n
inline constexpr std::string_view kStatusLogAtCollect = "\xCF\xB5\xCD\xB3\xA1\xA3\r\n";
// → — cleaner pass 8 (A1 FA)
inline constexpr std::string_view kRightArrow = "\xA1\xFA";
// □ — cleaner pass 11 (A1 F5)
inline constexpr std::string_view kWhiteSquare = "\xA1\xF5";

// Defaults of the tab pages.
// 核桃 — keyword of both search pages
inline constexpr std::string_view kDefaultKeyword = "\xBA\xCB\xCC\xD2";
inline constexpr std::string_view kDefaultPageCount = "10";
// Path and query of the sample item page on the item host.
inline constexpr std::string_view kSampleItemPath = "/item.htm?spm=a230r.1.14.71.QuK3y5&id=19793658234";

// Credit levels by rising score band ("1桃心" … "5黄冠").
inline constexpr std::array<std::string_view, 20> kCreditLevels = {
    "1\xCC\xD2\xD0\xC4",  // 1桃心
    "2\xCC\xD2\xD0\xC4",  // 2桃心
    "3\xCC\xD2\xD0\xC4",  // 3桃心
    "4\xCC\xD2\xD0\xC4",  // 4桃心
    "5\xCC\xD2\xD0\xC4",  // 5桃心
    "1\xD7\xEA",  // 1钻
    "2\xD7\xEA",  // 2钻
    "3\xD7\xEA",  // 3钻
    "4\xD7\xEA",  // 4钻
    "5\xD7\xEA",  // 5钻
    "1\xBB\xCA\xB9\xDA",  // 1皇冠
    "2\xBB\xCA\xB9\xDA",  // 2皇冠
    "3\xBB\xCA\xB9\xDA",  // 3皇冠
    "4\xBB\xCA\xB9\xDA",  // 4皇冠
    "5\xBB\xCA\xB9\xDA",  // 5皇冠
    "1\xBB\xC6\xB9\xDA",  // 1黄冠
    "2\xBB\xC6\xB9\xDA",  // 2黄冠
    "3\xBB\xC6\xB9\xDA",  // 3黄冠
    "4\xBB\xC6\xB9\xDA",  // 4黄冠
    "5\xBB\xC6\xB9\xDA",  // 5黄冠
};

struct ColumnSpec {
  std::string_view header;
  int width;  // pixels
};
using ColumnSet = std::array<ColumnSpec, 4>;

// 商品名称 | 商家名称 | 商家旺旺 | 网店地址
inline constexpr ColumnSet kOfferColumns = {{
    {"\xC9\xCC\xC6\xB7\xC3\xFB\xB3\xC6", 260},
    {"\xC9\xCC\xBC\xD2\xC3\xFB\xB3\xC6", 200},
    {"\xC9\xCC\xBC\xD2\xCD\xFA\xCD\xFA", 100},
    {"\xCD\xF8\xB5\xEA\xB5\xD8\xD6\xB7", 400},
}};

// 商品名称 | 买家ID | 买家旺旺昵称 | 商品网址
inline constexpr ColumnSet kBuyerColumns = {{
    {"\xC9\xCC\xC6\xB7\xC3\xFB\xB3\xC6", 350},
    {"\xC2\xF2\xBC\xD2ID", 100},
    {"\xC2\xF2\xBC\xD2\xCD\xFA\xCD\xFA\xEA\xC7\xB3\xC6", 180},
    {"\xC9\xCC\xC6\xB7\xCD\xF8\xD6\xB7", 160},
}};

// 关键词 — the fifth column of a batch of searches: the keyword that found the row
inline constexpr ColumnSpec kKeywordColumn = {"\xB9\xD8\xBC\xFC\xB4\xCA", 100};

// 商品名称 | 卖家ID | 卖家旺旺昵称 | 信用等级
inline constexpr ColumnSet kSellerColumns = {{
    {"\xC9\xCC\xC6\xB7\xC3\xFB\xB3\xC6", 350},
    {"\xC2\xF4\xBC\xD2ID", 100},
    {"\xC2\xF4\xBC\xD2\xCD\xFA\xCD\xFA\xEA\xC7\xB3\xC6", 150},
    {"\xD0\xC5\xD3\xC3\xB5\xC8\xBC\xB6", 250},
}};

// "关键词中的 😀 ✓ 无法在网站上搜索，…" for the characters leftOut (UTF-8,
// as gbk::fromUtf8LeavingOut names them). UTF-8, unlike the texts above:
// it shows characters that GBK lacks.
std::string leftOutWarningUtf8(std::string_view leftOut);

// "正在采集第%d页" for page n.
std::string collectingPage(int n);

// The report of a download that failed: address, "\r\nDownload failed!\r\n",
// and, when one is given, the reason on a last line of its own ending in
// CR LF. Address and reason come from pages and servers: their control
// characters are replaced (gbk::printable).
std::string downloadFailedReport(std::string_view address, std::string_view reason = {});

}  // namespace gleaner::literals
