// Texts of the desktop program that the engine never sees, in UTF-8: tab
// captions, the about item, export and store messages (the headless runner
// prints the same ones), and the program's own web pages.
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
inline constexpr const char* kExportDefaultName = "采集结果.xlsx";
inline constexpr const char* kExportReplace = "文件“%s”已经存在。要用导出的列表替换它吗？";
inline constexpr const char* kExportProgress = "正在导出：已写入 %zu 行，共 %zu 行。";
inline constexpr const char* kExportDone = "已导出 %zu 行到：";
inline constexpr const char* kExportCut =
    "注意：有 %zu 个单元格超过 Excel 单元格能存的 32767 个字符，已截断。需要全文请导出为 CSV 文件。";
inline constexpr const char* kExportFailed = "无法写入文件：";
inline constexpr const char* kExportFailedAdvice =
    "请换一个文件夹（或关闭正在使用这个文件的程序）后再导出。列表中的结果不受影响。";
inline constexpr const char* kExportCancelled = "导出已取消，没有写入任何文件。";
inline constexpr const char* kExportTooManyRows =
    "列表的行数超过 Excel 工作表能存的 1048575 行，无法导出为工作簿。请导出为 CSV 文件。";

// The result store.
inline constexpr const char* kStoreFault =
    "采集结果无法保存到硬盘（文件夹只读、硬盘已满或文件损坏），本次结果只在列表中，请及时导出。";
inline constexpr const char* kRestoreAfterCrash = "上次采集没有正常结束，已保存 %zu 条结果。是否恢复到列表？";
inline constexpr const char* kRestoreMenuText = "恢复上次的列表";
inline constexpr const char* kRestoreProgress = "正在恢复上次的列表：%zu / %zu 条。";
inline constexpr const char* kRestoreFailed = "无法读取上次保存的列表，列表没有改变。";

// The program's own pages, opened in the default browser.
inline constexpr const char* kHelpPageAddress = "https://gleaner.example.org/help/";
inline constexpr const char* kContactPageAddress = "https://gleaner.example.org/contact/";

}  // namespace gleaner::res
