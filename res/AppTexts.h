// Texts of the desktop program that the engine never sees, in UTF-8: tab
// captions, the about item, export and store messages (the headless runner
// prints the same ones), export prompts, the pause line and the message boxes
// of the window's own.
#pragma once

namespace gleaner::res {

// Tab captions, by tab index.
inline constexpr const char* kOfferTabTitle = "阿里巴巴卖家及其商品采集";
inline constexpr const char* kItemBuyersTabTitle = "淘宝单品买家采集";
inline constexpr const char* kSellerTabTitle = "淘宝卖家信息采集";
inline constexpr const char* kHelpTabTitle = "在线帮助与软件订购";

// String 101: the about item of the system (or context) menu.
inline constexpr const char* kAboutMenuText = "关于 Gleaner(&A)...";

// Collect pressed on the help tab, which has no job.
inline constexpr const char* kChooseJobTab =
    "在线帮助页没有采集任务。\n请先点选“阿里巴巴卖家及其商品采集”、“淘宝单品买家采集”或“淘宝卖家信息采集”页，填好设置后再按“采集”。";

// Caption of the program's message boxes: the executable's name.
inline constexpr const char* kMessageCaption = "gleaner";
// Their buttons, as the templates' own OK reads.
inline constexpr const char* kOkButton = "确定";
inline constexpr const char* kYesButton = "是";
inline constexpr const char* kNoButton = "否";

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

// Going on with the last run (stopped, or cut off by a crash or a kill).
inline constexpr const char* kResumeMenuText = "继续上次的采集（从第%d页）";
inline constexpr const char* kResumeAfterCrashWithRows = "上次采集没有正常结束，已保存 %zu 条结果。";
inline constexpr const char* kResumeAfterCrashNoRows = "上次采集没有正常结束，还没有找到结果。";
// %s: the batch entry where the run stood (below), or nothing.
inline constexpr const char* kResumeQuestion = "要从%s第%d页继续上次的采集吗？";
inline constexpr const char* kResumeKeyword = "第%zu/%zu个关键词「%s」的";
inline constexpr const char* kResumeItem = "第%zu/%zu个商品的";
inline constexpr const char* kResumeRestoreOnly = "只恢复列表";
inline constexpr const char* kResumeNeither = "都不要";

// The batch box of a job's tab page.
inline constexpr const char* kBatchKeywordsTitle = "批量关键词";
inline constexpr const char* kBatchItemsTitle = "批量商品网址";
inline constexpr const char* kBatchKeywordsHint =
    "每行一个关键词，按顺序逐个采集。可以直接粘贴，也可以从文本文件（UTF-8 或 GBK）载入；空行和以 # 开头的行不算。";
inline constexpr const char* kBatchItemsHint =
    "每行一个商品网址，按顺序逐个采集买家。可以直接粘贴，也可以从文本文件（UTF-8 或 GBK）载入；空行和以 # 开头的行不算。";
inline constexpr const char* kBatchKeywordCount = "共 %zu 个关键词";
inline constexpr const char* kBatchItemCount = "共 %zu 个商品网址";
// What the keyword (or address) box shows while a batch is queued.
inline constexpr const char* kBatchQueuedKeywords = "批量采集 %zu 个关键词（点“批量…”修改或清空）";
inline constexpr const char* kBatchQueuedItems = "批量采集 %zu 个商品网址（点“批量…”修改或清空）";
inline constexpr const char* kBatchFileTitle = "载入列表文件";
inline constexpr const char* kBatchFileWildcard = "文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*";
inline constexpr const char* kBatchFileUnreadable = "无法读取文件“%s”。请检查文件是否存在、是否正被其他程序使用，然后再载入。";
inline constexpr const char* kBatchFileTooLarge =
    "文件“%s”太大（超过 16 MB），不像是关键词或网址列表，没有载入。请检查选择的文件。";

// The status line while a pause is requested.
inline constexpr const char* kPausedStatus = "已暂停，按暂停/继续键继续采集";
// ... from the press of collect until the run names its first page (or,
// for a run whose pages have no line of their own, finds its first row), and
// from the lifting of a pause until it names the next one.
inline constexpr const char* kRunStarting = "正在开始采集…";
inline constexpr const char* kRunCollecting = "正在采集…";
inline constexpr const char* kRunContinuing = "正在继续采集…";
// ... after 全部删除: the emptied list can be put back until a run finds a row.
inline constexpr const char* kListEmptiedRestorable = "已清空列表（可在右键菜单中恢复）";
inline constexpr const char* kListEmptied = "已清空列表";

// The page count boxes: what a number does.
inline constexpr const char* kPageCountHint = "0 = 只采集第1页";
inline constexpr const char* kPageCountTip = "要采集的搜索结果页数，只能填数字；0 = 只采集第1页";

// Message boxes: what happened, then what to do.
inline constexpr const char* kHelpMissing = "找不到使用帮助文件，无法打开帮助页面。";
inline constexpr const char* kHelpMissingAdvice =
    "请重新安装本程序，或把安装包里的 help 文件夹放回程序所在的文件夹。";
inline constexpr const char* kBrowserFailed = "无法打开浏览器显示帮助页面。";
inline constexpr const char* kBrowserFailedAdvice =
    "请先在系统里设置默认浏览器，或者打开浏览器，把下面的地址复制到地址栏里。";
inline constexpr const char* kInternetSetupFailed = "网络组件无法启动，程序没有打开。";
inline constexpr const char* kInternetSetupFailedAdvice = "请重新启动电脑后再试；如果仍然不行，请重新安装本程序。";
inline constexpr const char* kConnectToRejected = "环境变量 GLEANER_CONNECT_TO 的格式不对，程序没有打开。";
inline constexpr const char* kConnectToRejectedAdvice =
    "请改成“主机:端口:目标主机:目标端口”（多条用英文逗号隔开），或者删除这个环境变量，然后重新启动程序。";
inline constexpr const char* kRuleServerRejected = "环境变量 GLEANER_RULE_SERVER 的格式不对，程序没有打开。";
inline constexpr const char* kRuleServerRejectedAdvice =
    "请改成“主机”或“主机:端口”（例如 rules.example.com:8080），或者删除这个环境变量，然后重新启动程序。";
inline constexpr const char* kBuiltinRulesFailed = "无法启动程序自带的规则服务器，程序没有打开。";
inline constexpr const char* kBuiltinRulesFailedAdvice =
    "请检查防火墙或安全软件是否禁止本程序使用本机网络（127.0.0.1），允许后重新启动程序。";

}  // namespace gleaner::res
