#include "res/DialogTemplates.h"

#include <array>

#include "res/ControlIds.h"

namespace gleaner::res {
namespace {

using K = ControlKind;
constexpr const char* kFont = "宋体";

constexpr std::array kAboutControls = {
    ControlTemplate{kNoId, K::Picture, "", 11, 17, 20, 20, true, 0, ids::kMainIcon},
    ControlTemplate{kNoId, K::StaticText, "Gleaner 1.0 版", 40, 10, 119, 8, true, 0},
    ControlTemplate{1, K::DefaultButton, "确定", 178, 7, 50, 14, true, kTabStop | kGroupStart},
};

constexpr std::array kMainControls = {
    ControlTemplate{ids::kTabControl, K::TabControl, "", 7, 17, 536, 120, true, kTabStop},
    ControlTemplate{ids::kCollect, K::PushButton, "采集", 125, 342, 50, 22, true, kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kResultList, K::ListView, "", 7, 139, 536, 193, true, kBorder | kTabStop, 0,
                    kStretchRight | kStretchBottom},
    ControlTemplate{ids::kCollectHidden, K::PushButton, "采集买家", 7, 361, 6, 22, false, kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kPauseHidden, K::PushButton, "暂停采集", 91, 327, 50, 14, false, kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kDedupHidden, K::PushButton, "去除重复", 15, 361, 6, 22, false, kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kDeleteAll, K::PushButton, "全部删除", 314, 342, 50, 22, true, kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kExport, K::PushButton, "导出列表", 377, 342, 50, 22, true, kTabStop, 0, kFollowBottom},
    ControlTemplate{kNoId, K::StaticText, "采集状态：", 7, 384, 41, 8, true, 0, 0, kFollowBottom},
    ControlTemplate{kNoId, K::StaticText, "当前列表总数：", 235, 384, 57, 8, true, 0, 0, kFollowBottom},
    ControlTemplate{ids::kProgress, K::ProgressBar, "", 185, 325, 279, 16, false, kBorder, 0, kFollowBottom},
    ControlTemplate{kNoId, K::StaticText, "下载状态", 145, 329, 33, 8, false, 0, 0, kFollowBottom},
    ControlTemplate{kNoId, K::StaticText, "0", 7, 343, 19, 8, false, 0, 0, kFollowBottom},
    ControlTemplate{kNoId, K::StaticText, "4000", 27, 342, 17, 8, false, 0, 0, kFollowBottom},
    ControlTemplate{ids::kReportCountEdit, K::Edit, "", 473, 323, 55, 18, false,
                    kBorder | kReadOnly | kAutoHScroll | kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kStatusLogEdit, K::Edit, "", 7, 352, 17, 12, false,
                    kBorder | kMultiLine | kAutoHScroll | kScrollBars, 0, kFollowBottom},
    ControlTemplate{ids::kPauseContinue, K::PushButton, "暂停/继续", 188, 342, 50, 22, true, kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kStop, K::PushButton, "停止", 251, 342, 50, 22, true, kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kRefreshToggle, K::PushButton, "自动刷新/停止刷新", 7, 327, 79, 14, false, kTabStop, 0,
                    kFollowBottom},
    ControlTemplate{ids::kSpareEdit, K::Edit, "", 26, 352, 15, 12, false,
                    kBorder | kMultiLine | kScrollBars | kTabStop, 0, kFollowBottom},
    ControlTemplate{ids::kCountDisplay, K::StaticText, "", 304, 383, 50, 9, true, 0, 0, kFollowBottom},
    ControlTemplate{ids::kStatusDisplay, K::StaticText, "", 69, 382, 162, 10, true, 0, 0, kFollowBottom},
    ControlTemplate{ids::kLinkPicture, K::Picture, "", 487, 337, 56, 55, true, kNotify, ids::kLinkBitmap,
                    kFollowRight | kFollowBottom},
};

constexpr std::array kSearchControls = {
    ControlTemplate{kNoId, K::GroupBox, "商品搜索设置", 7, 7, 531, 86, true, 0},
    ControlTemplate{kNoId, K::StaticText, "搜索关键字:", 14, 23, 34, 8, true, 0},
    ControlTemplate{kNoId, K::StaticText, "搜索页数:", 371, 25, 38, 8, true, 0},
    // The keyword box and its 批量… button take the room the box alone had.
    ControlTemplate{ids::kSearchKeyword, K::Edit, "", 61, 20, 249, 16, true, kBorder | kAutoHScroll | kTabStop},
    ControlTemplate{ids::kSearchBatch, K::PushButton, "批量…", 314, 20, 40, 16, true, kTabStop},
    ControlTemplate{ids::kSearchPages, K::Edit, "", 416, 21, 66, 16, true,
                    kBorder | kDigitsOnly | kAutoHScroll | kTabStop},
    ControlTemplate{kNoId, K::StaticText, "搜索排序:", 15, 52, 37, 8, true, 0},
    ControlTemplate{ids::kSortNormal, K::RadioButton, "综合", 59, 49, 32, 10, true, kGroupStart | kTabStop},
    ControlTemplate{ids::kSortPopular, K::RadioButton, "人气", 113, 49, 32, 10, true, kTabStop},
    ControlTemplate{ids::kSortBooked, K::RadioButton, "销量", 167, 49, 32, 10, true, kTabStop},
    ControlTemplate{ids::kSortCredit, K::RadioButton, "信用", 339, 49, 32, 10, false, kTabStop},
    ControlTemplate{ids::kSortNewest, K::RadioButton, "最新", 279, 49, 32, 10, false, kTabStop},
    ControlTemplate{ids::kSortPrice, K::RadioButton, "价格", 221, 49, 32, 10, true, kTabStop},
    ControlTemplate{ids::kFilterBuyerProtection, K::CheckBox, "买家保障", 167, 67, 48, 10, true,
                    kGroupStart | kTabStop},
    ControlTemplate{ids::kFilterAlipay, K::CheckBox, "支付宝", 114, 67, 40, 10, true, kTabStop},
    ControlTemplate{ids::kFilterMixedHidden, K::CheckBox, "混批", 283, 73, 32, 10, false, kTabStop},
    ControlTemplate{ids::kFilterNewHidden, K::CheckBox, "新品", 225, 71, 32, 10, false, kTabStop},
    ControlTemplate{ids::kFilterOnline, K::CheckBox, "旺旺在线", 59, 67, 48, 10, true, kTabStop},
    ControlTemplate{ids::kFilterSizesHidden, K::CheckBox, "多尺码", 335, 71, 40, 10, false, kTabStop},
};

constexpr std::array kItemUrlControls = {
    ControlTemplate{ids::kItemAddress, K::Edit, "", 14, 27, 504, 41, true, kBorder | kMultiLine | kTabStop},
    ControlTemplate{kNoId, K::StaticText, "单个商品网址，非店铺地址", 18, 7, 154, 10, true, 0},
    ControlTemplate{ids::kItemBatch, K::PushButton, "批量…", 478, 9, 40, 15, true, kTabStop},
};

constexpr std::array kSellerSearchControls = {
    ControlTemplate{kNoId, K::StaticText, "采集关键字:", 7, 21, 50, 9, true, 0},
    ControlTemplate{ids::kSellerKeyword, K::Edit, "", 62, 17, 247, 16, true, kBorder | kAutoHScroll | kTabStop},
    ControlTemplate{ids::kSellerBatch, K::PushButton, "批量…", 313, 17, 40, 16, true, kTabStop},
    ControlTemplate{ids::kSellerCollectHidden, K::PushButton, "采集", 370, 13, 50, 24, false, kTabStop},
    ControlTemplate{kNoId, K::StaticText, "卖家等级:", 61, 49, 37, 8, true, 0},
    // 257 is the height with the list dropped down; closed, the box takes its font's height.
    ControlTemplate{ids::kSellerLevel, K::ComboBox, "", 61, 61, 88, 257, true, kTabStop},
    ControlTemplate{kNoId, K::StaticText, "采集页数:", 172, 49, 37, 8, true, 0},
    ControlTemplate{ids::kSellerPages, K::Edit, "", 172, 61, 83, 14, true,
                    kBorder | kDigitsOnly | kAutoHScroll | kTabStop},
    ControlTemplate{ids::kSellerOnlineHidden, K::CheckBox, "只采集在线", 299, 64, 56, 10, false, kTabStop},
};

constexpr std::array kHelpControls = {
    ControlTemplate{kNoId, K::GroupBox, "软件使用帮助", 7, 7, 141, 80, true, 0},
    ControlTemplate{ids::kHelpButton, K::PushButton, "点击进入在线帮助页面", 13, 31, 131, 32, true, kTabStop},
};

constexpr std::array kExportControls = {
    ControlTemplate{1, K::DefaultButton, "确定", 222, 56, 50, 14, true, kTabStop},
    ControlTemplate{2, K::PushButton, "取消", 222, 73, 50, 14, true, kTabStop},
    ControlTemplate{ids::kExportAll, K::RadioButton, "导出全部采集到的信息", 19, 17, 96, 10, true,
                    kGroupStart | kTabStop},
    // One sentence, the note on duplicates in the choice's own text, so that
    // nothing can come between them or cover a part.
    ControlTemplate{ids::kExportSellers, K::RadioButton, "导出卖家信息，导出的信息将会去除重复记录", 19, 38, 195, 10, true,
                    kTabStop},
    ControlTemplate{ids::kExportHiddenRadio, K::RadioButton, "Radio3", 232, 7, 40, 10, false, 0},
};

constexpr std::array kBatchControls = {
    ControlTemplate{ids::kBatchHint, K::StaticText, "", 7, 7, 266, 18, true, 0},
    ControlTemplate{ids::kBatchText, K::Edit, "", 7, 27, 266, 150, true, kBorder | kMultiLine | kScrollBars | kTabStop},
    ControlTemplate{ids::kBatchCount, K::StaticText, "", 7, 183, 120, 9, true, 0},
    ControlTemplate{ids::kBatchLoad, K::PushButton, "从文件载入…", 7, 197, 60, 14, true, kTabStop},
    ControlTemplate{ids::kBatchClear, K::PushButton, "清空", 71, 197, 40, 14, true, kTabStop},
    ControlTemplate{1, K::DefaultButton, "确定", 169, 197, 50, 14, true, kTabStop},
    ControlTemplate{2, K::PushButton, "取消", 223, 197, 50, 14, true, kTabStop},
};

const DialogTemplate kAbout{ids::kAboutDialog, "关于 Gleaner", 235, 55, kFont, 9, kAboutControls};
// The main window opens at the template's size and can be made larger, the
// list taking the room; made smaller, the list gives room back down to 100
// dialog units of height, so that the whole window fits the work area of a
// 1366 × 768 screen at 100 % and of a 1920 × 1080 one at 150 %.
const DialogTemplate kMain{ids::kMainDialog, "岚樾营销系列软件   阿里巴巴卖家/买家信息采集", 548, 399, kFont, 9,
                           kMainControls, 548, 399 - (193 - 100)};
const DialogTemplate kSearch{ids::kSearchPage, "", 545, 100, kFont, 9, kSearchControls};
const DialogTemplate kItemUrl{ids::kItemUrlPage, "", 540, 99, kFont, 9, kItemUrlControls};
const DialogTemplate kSellerSearch{ids::kSellerSearchPage, "", 543, 94, kFont, 9, kSellerSearchControls};
const DialogTemplate kHelp{ids::kHelpPage, "", 543, 94, kFont, 9, kHelpControls};
const DialogTemplate kExport{ids::kExportDialog, "导出信息", 279, 94, kFont, 9, kExportControls};
// The caption is the job's (批量关键词 or 批量商品网址).
const DialogTemplate kBatch{ids::kBatchDialog, "", 280, 218, kFont, 9, kBatchControls};

}  // namespace

const DialogTemplate& aboutDialogTemplate() { return kAbout; }
const DialogTemplate& mainDialogTemplate() { return kMain; }
const DialogTemplate& searchPageTemplate() { return kSearch; }
const DialogTemplate& itemUrlPageTemplate() { return kItemUrl; }
const DialogTemplate& sellerSearchPageTemplate() { return kSellerSearch; }
const DialogTemplate& helpPageTemplate() { return kHelp; }
const DialogTemplate& exportDialogTemplate() { return kExport; }
const DialogTemplate& batchDialogTemplate() { return kBatch; }

const DialogTemplate* findTemplate(int templateId) {
  for (const DialogTemplate* t : {&kAbout, &kMain, &kSearch, &kItemUrl, &kSellerSearch, &kHelp, &kExport, &kBatch}) {
    if (t->id == templateId) return t;
  }
  return nullptr;
}

const ControlTemplate* findControl(const DialogTemplate& dialog, int controlId) {
  for (const ControlTemplate& c : dialog.controls) {
    if (c.id == controlId) return &c;
  }
  return nullptr;
}

}  // namespace gleaner::res
