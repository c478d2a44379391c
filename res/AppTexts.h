// Texts of the desktop program that the engine never sees, in UTF-8: tab
// captions, the about item, export prompts, and the program's own web pages.
#pragma once

namespace gleaner::res {

// Tab captions, by tab index.
inline constexpr const char* kOfferTabTitle = "阿里巴巴卖家及其商品采集";
inline constexpr const char* kItemBuyersTabTitle = "淘宝单品买家采集";
inline constexpr const char* kSellerTabTitle = "淘宝卖家信息采集";
inline constexpr const char* kHelpTabTitle = "在线帮助与软件订购";

// String 101: the about item of the system (or context) menu.
inline constexpr const char* kAboutMenuText = "关于 Gleaner(&A)...";

// Caption of the program's message boxes: the executable's name.
inline constexpr const char* kMessageCaption = "gleaner";

// Export.
inline constexpr const char* kExportNothing = "列表中没有可导出的信息。";
inline constexpr const char* kExportSaveTitle = "导出列表";
inline constexpr const char* kExportWildcard = "Excel 工作簿 (*.xlsx)|*.xlsx|CSV 文件 (UTF-8) (*.csv)|*.csv";
inline constexpr const char* kExportDefaultName = "采集结果";
inline constexpr const char* kExportFailed = "无法写入文件：";
inline constexpr const char* kExportDone = "已导出 %d 行到：";

// The program's own pages, opened in the default browser.
inline constexpr const char* kHelpPageAddress = "https://gleaner.example.org/help/";
inline constexpr const char* kContactPageAddress = "https://gleaner.example.org/contact/";

}  // namespace gleaner::res
