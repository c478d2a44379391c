// Texts of the desktop program that the engine never sees, in UTF-8: tab
// captions, the about item, export prompts, the pause line and the message
// boxes of the window's own.
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

// The status line while a pause is requested.
inline constexpr const char* kPausedStatus = "已暂停，按暂停/继续键继续采集";

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
