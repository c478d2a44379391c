// Numeric identifiers of the dialog templates and their controls.
// Plain constants without any framework header.
#pragma once

namespace gleaner::ids {

// Dialog templates and resources.
constexpr int kAboutDialog = 100;
constexpr int kAboutMenuString = 101;
constexpr int kMainDialog = 102;
constexpr int kMainIcon = 128;
constexpr int kSearchPage = 129;
constexpr int kItemUrlPage = 130;
constexpr int kSellerSearchPage = 131;
constexpr int kHelpPage = 132;
constexpr int kLinkBitmap = 135;
constexpr int kExportDialog = 136;
constexpr int kBatchDialog = 137;

constexpr int kAboutCommand = 16;
constexpr int kRestoreCommand = 17;  // context menu: put the stored list back
constexpr int kResumeCommand = 18;   // context menu: go on with the last run
constexpr int kRefreshTimer = 1;
constexpr int kListTimer = 2;  // brings the result list up to its rows

// Main window (template 102).
constexpr int kTabControl = 1000;
constexpr int kResultList = 1003;
constexpr int kCollectHidden = 1004;
constexpr int kPauseHidden = 1005;
constexpr int kDedupHidden = 1006;
constexpr int kDeleteAll = 1007;
constexpr int kExport = 1008;
constexpr int kCollect = 1031;
constexpr int kProgress = 1032;
constexpr int kReportCountEdit = 1033;
constexpr int kStatusLogEdit = 1034;
constexpr int kPauseContinue = 1035;
constexpr int kStop = 1036;
constexpr int kRefreshToggle = 1037;
constexpr int kSpareEdit = 1038;
constexpr int kCountDisplay = 1039;
constexpr int kStatusDisplay = 1044;
constexpr int kLinkPicture = 1045;

// SearchPage (template 129).
constexpr int kSearchKeyword = 1002;
constexpr int kSearchPages = 1040;
constexpr int kSearchBatch = 1050;  // 批量…
constexpr int kSortNormal = 1010;   // 综合
constexpr int kSortPopular = 1011;  // 人气
constexpr int kSortBooked = 1012;   // 销量
constexpr int kSortCredit = 1013;   // 信用 (hidden)
constexpr int kSortNewest = 1014;   // 最新 (hidden)
constexpr int kSortPrice = 1015;    // 价格
constexpr int kFilterBuyerProtection = 1016;  // 买家保障
constexpr int kFilterAlipay = 1017;           // 支付宝
constexpr int kFilterMixedHidden = 1018;      // 混批 (hidden, not read)
constexpr int kFilterNewHidden = 1019;        // 新品 (hidden, not read)
constexpr int kFilterOnline = 1020;           // 旺旺在线
constexpr int kFilterSizesHidden = 1021;      // 多尺码 (hidden, not read)

// ItemUrlPage (template 130).
constexpr int kItemAddress = 1041;
constexpr int kItemBatch = 1051;  // 批量…

// SellerSearchPage (template 131).
constexpr int kSellerKeyword = 1042;
constexpr int kSellerBatch = 1052;  // 批量…
constexpr int kSellerCollectHidden = 1043;
constexpr int kSellerLevel = 1022;
constexpr int kSellerPages = 1009;
constexpr int kSellerOnlineHidden = 1016;

// HelpPage (template 132).
constexpr int kHelpButton = 1001;

// ExportDialog (template 136).
constexpr int kExportAll = 1010;
constexpr int kExportSellers = 1011;
constexpr int kExportHiddenRadio = 1012;

// BatchDialog (template 137); 1 and 2 are its OK and cancel.
constexpr int kBatchHint = 1060;
constexpr int kBatchText = 1061;
constexpr int kBatchCount = 1062;
constexpr int kBatchLoad = 1063;
constexpr int kBatchClear = 1064;

}  // namespace gleaner::ids
