// Whole runs from the main window against the sample site: the list holds
// the rows the same run gives without a window, and the status line and the
// message tell how the run ended.
#include <gtest/gtest.h>

#include <algorithm>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>

#include "app/PauseIndicator.h"
#include "app/TabPageHost.h"
#include "app/TemplatePage.h"
#include "RecordedRun.h"
#include "res/ControlIds.h"
#include "SampleRunFixture.h"
#include "text/Literals.h"

namespace gleaner::testing {
namespace {

using SampleRun = SampleRunFixture;

wxString label(MainDialog& window, int id) { return dynamic_cast<wxStaticText*>(window.FindWindow(id))->GetLabel(); }

void setText(TemplatePage& page, int id, const char* utf8) {
  dynamic_cast<wxTextEntry*>(page.FindWindow(id))->SetValue(wx(utf8));
}

constexpr const char* kFailingItem = "http://item.taobao.com/item.htm?id=10000000004";  // review page 4 fails

TEST_F(SampleRun, OfferSearchFillsTheListWithTheRowsOfTheSitesPages) {
  setText(window().page(TabPage::Search), ids::kSearchKeyword, "tiny");
  setText(window().page(TabPage::Search), ids::kSearchPages, "3");
  ASSERT_TRUE(collectAndWait());
  EXPECT_EQ(messages.back(), wx("任务完成！"));
  const auto rows = listRows();
  // Pages 1, 2 and 3, one offer each.
  EXPECT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows, recordRun(sites, offerRequest("tiny", 3)).rows);
  EXPECT_EQ(label(window(), ids::kCountDisplay), wxString::Format("%zu", rows.size()));
  // The status line keeps the run's summary; the end message is the same as ever.
  EXPECT_EQ(label(window(), ids::kStatusDisplay), wx("采集结束：共3页，3条结果，0页没有找到记录，规则出错0次"));
  EXPECT_EQ(window().listColumns(), Job::Offers);
  EXPECT_TRUE(pumpUntil([&] { return window().collectButton().IsEnabled(); }, 5000))
      << "enabled again when the run ends";
  EXPECT_TRUE(window().autoRefreshOn()) << "the first collect starts the refresh timer";
}

// Page 3 of the search answers 404: the walk ends there, the rows of pages 1
// and 2 stay, the status line says where and why the run ended, and the
// message says it again with what to do.
TEST_F(SampleRun, AFailedPageEndsTheRunWithItsReasonAndKeepsTheRows) {
  setText(window().page(TabPage::Search), ids::kSearchKeyword, "missing3");
  setText(window().page(TabPage::Search), ids::kSearchPages, "5");
  ASSERT_TRUE(collectAndWait());
  const auto rows = listRows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows, recordRun(sites, offerRequest("missing3", 5)).rows);
  const wxString status = label(window(), ids::kStatusDisplay);
  EXPECT_TRUE(status.StartsWith(wx("第3页下载失败（HTTP 404），采集到第2页为止：采集结束：共2页，"))) << status;
  const wxString kept = wxString::Format(wx("已采集到的%zu条结果保留在列表中。"), rows.size());
  EXPECT_TRUE(messages.back().StartsWith(wx("第3页下载失败（HTTP 404），采集到第2页为止。\r\n") + kept +
                                         wx("请检查网络连接，稍后再按“采集”重新采集。")))
      << messages.back();
  EXPECT_NE(messages.back().Find("beginPage=3"), wxNOT_FOUND) << "the page's address, for support";
  EXPECT_EQ(label(window(), ids::kCountDisplay), wxString::Format("%zu", rows.size()));
  EXPECT_TRUE(pumpUntil([&] { return window().collectButton().IsEnabled(); }, 5000));
}

// The tab's own sample item: five review pages of buyers, then an empty
// one, where the site's reviews end and so does the run.
TEST_F(SampleRun, ItemBuyersEndAtTheFirstEmptyReviewPage) {
  window().tabs().SetSelection(1);
  ASSERT_TRUE(collectAndWait());
  EXPECT_EQ(messages.back(), wx("任务完成！"));
  const auto rows = listRows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows, recordRun(sites, buyerRequest(window().page(TabPage::ItemUrl).controlText(ids::kItemAddress))).rows);
  const wxString status = label(window(), ids::kStatusDisplay);
  EXPECT_TRUE(status.StartsWith(wx("评价在第6页结束：采集结束：共6页，"))) << status;
  EXPECT_EQ(window().listColumns(), Job::Buyers);
  EXPECT_EQ(label(window(), ids::kCountDisplay), wxString::Format("%zu", rows.size()));
}

TEST_F(SampleRun, SellerSearchFiltersByTheTypedLevel) {
  window().tabs().SetSelection(2);
  setText(window().page(TabPage::SellerSearch), ids::kSellerPages, "2");
  ASSERT_TRUE(collectAndWait());
  const auto everyone = listRows();
  EXPECT_EQ(everyone, recordRun(sites, sellerRequest("核桃", 2, "所有信用等级")).rows);
  // A level typed into the box (5钻 is not in its list) keeps that level's
  // sellers and those below 4 points, whose empty level every filter holds.
  dynamic_cast<wxComboBox*>(window().page(TabPage::SellerSearch).FindWindow(ids::kSellerLevel))->SetValue(wx("5钻"));
  ASSERT_TRUE(collectAndWait());
  const auto filtered = listRows();
  EXPECT_EQ(filtered, recordRun(sites, sellerRequest("核桃", 2, "5钻")).rows);
  EXPECT_FALSE(filtered.empty());
  EXPECT_LT(filtered.size(), everyone.size());
}

TEST_F(SampleRun, ColumnsAreTheSecondJobsAfterTwoRuns) {
  window().tabs().SetSelection(2);
  setText(window().page(TabPage::SellerSearch), ids::kSellerPages, "1");
  ASSERT_TRUE(collectAndWait());
  window().tabs().SetSelection(1);
  setText(window().page(TabPage::ItemUrl), ids::kItemAddress, kFailingItem);
  ASSERT_TRUE(collectAndWait());
  EXPECT_EQ(window().listColumns(), Job::Buyers);
  EXPECT_EQ(window().resultList().GetColumnCount(), 4);
  wxListItem column;
  column.SetMask(wxLIST_MASK_TEXT);
  window().resultList().GetColumn(1, column);
  EXPECT_EQ(column.GetText(), wx("买家ID"));
}

// The count display is always the number of rows in the list: from the
// press of collect (which says at once that the run starts), after 全部删除
// (which the context menu undoes until the next run), after a run without
// rows and after a restore.
TEST_F(SampleRun, TheCountIsTheListsRowsAndDeleteAllCanBeUndoneUntilTheNextRun) {
  const auto count = [&] { return label(window(), ids::kCountDisplay); };
  const auto shown = [&] { return wxString::Format("%d", window().resultList().GetItemCount()); };
  setText(window().page(TabPage::Search), ids::kSearchKeyword, "tiny");
  setText(window().page(TabPage::Search), ids::kSearchPages, "3");
  ASSERT_TRUE(collectAndWait());
  const std::vector<ResultRow> rows = listRows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(count(), "3");

  window().collect();  // the same run again: nothing of the last one shows meanwhile
  EXPECT_EQ(window().resultList().GetItemCount(), 0);
  EXPECT_EQ(count(), "0");
  EXPECT_EQ(label(window(), ids::kStatusDisplay), wx("正在开始采集…"));
  ASSERT_TRUE(pumpUntil([&] { return window().collectButton().IsEnabled(); }, 60000));
  EXPECT_EQ(count(), shown());

  window().deleteAll();
  EXPECT_EQ(count(), "0");
  EXPECT_EQ(label(window(), ids::kStatusDisplay), wx("已清空列表（可在右键菜单中恢复）"));
  std::unique_ptr<wxMenu> menu(window().makeContextMenu());
  EXPECT_TRUE(menu->FindItem(ids::kRestoreCommand)->IsEnabled());
  ASSERT_TRUE(window().restoreLastList());
  EXPECT_EQ(listRows(), rows);
  EXPECT_EQ(count(), "3");

  // A run that finds nothing: its start gives up the emptied list.
  window().deleteAll();
  window().tabs().SetSelection(1);
  setText(window().page(TabPage::ItemUrl), ids::kItemAddress, "http://127.0.0.1:1/item.htm?id=1");
  ASSERT_TRUE(collectAndWait());
  EXPECT_EQ(window().resultList().GetItemCount(), 0);
  EXPECT_EQ(count(), "0");
  EXPECT_FALSE(window().restoreAvailable());
}

TEST_F(SampleRun, PauseBeforeCollectHoldsTheRunAfterItsFirstPageUntilContinue) {
  setText(window().page(TabPage::Search), ids::kSearchKeyword, "tiny");
  setText(window().page(TabPage::Search), ids::kSearchPages, "3");
  window().togglePause();
  const std::size_t before = messages.size();
  window().collect();
  pumpFor(4000);
  EXPECT_EQ(messages.size(), before) << "a paused run does not end";
  EXPECT_EQ(label(window(), ids::kStatusDisplay), wx("已暂停，按暂停/继续键继续采集")) << "the pause shows";
  const int afterFirstPage = window().resultList().GetItemCount();
  EXPECT_GT(afterFirstPage, 0);
  window().togglePause();
  ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 60000));
  EXPECT_GT(window().resultList().GetItemCount(), afterFirstPage);
}

// The job and the settings belong to the run: tabs clicked with the mouse
// while it walks (the help tab included) and a page count typed for the next
// run change neither its extractor nor its walk.
TEST_F(SampleRun, TabsClickedDuringARunChangeNothingOfIt) {
  setText(window().page(TabPage::Search), ids::kSearchKeyword, "tiny");
  setText(window().page(TabPage::Search), ids::kSearchPages, "3");
  window().Raise();
  window().togglePause();  // holds the run after its first page
  const std::size_t before = messages.size();
  window().collect();
  // The status line shows the pause; the run's own line stands behind it.
  ASSERT_TRUE(pumpUntil([&] { return window().pauseIndicator().runStatus() == wx("正在采集第1页"); }, 20000));

  wxUIActionSimulator sim;
  for (int tab : {3, 1, 2}) {
    const wxPoint at = tabCentre(window().tabs(), tab);
    ASSERT_NE(at, wxDefaultPosition) << tab;
    sim.MouseMove(at);
    sim.MouseClick();
    ASSERT_TRUE(pumpUntil([&] { return window().tabs().GetSelection() == tab; }, 3000)) << tab;
  }
  setText(window().page(TabPage::Search), ids::kSearchPages, "1");
  window().togglePause();
  ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 60000));

  EXPECT_EQ(messages.back(), wx("任务完成！"));
  EXPECT_EQ(label(window(), ids::kStatusDisplay), wx("采集结束：共3页，3条结果，0页没有找到记录，规则出错0次"));
  EXPECT_EQ(window().listColumns(), Job::Offers);
  std::vector<std::string> searches;
  for (const auto& request : site->requests()) {
    if (request.host == "s.1688.com") searches.push_back(request.target);
  }
  EXPECT_EQ(searches.size(), 3u);
  EXPECT_EQ(listRows(), recordRun(sites, offerRequest("tiny", 3)).rows);
  EXPECT_EQ(window().tabs().GetSelection(), 2);
}

// The site's markup "changed" under the offer rule: the warning naming the
// page and the rule reaches the window's status line; the line ends on it
// (before the summary), and its tooltip holds the whole text the narrow line
// cuts off.
TEST_F(SampleRun, ARuleThatNoLongerFitsTheSiteIsNamedOnTheStatusLine) {
  setText(window().page(TabPage::Search), ids::kSearchKeyword, "changed");
  setText(window().page(TabPage::Search), ids::kSearchPages, "2");
  std::vector<wxString> shown;
  window().onStatusShown = [&](const wxString& text) { shown.push_back(text); };
  ASSERT_TRUE(collectAndWait());
  window().onStatusShown = nullptr;
  EXPECT_EQ(messages.back(), wx("任务完成！"));
  const wxString warning = wx("第2页没有找到任何记录：规则 ExtractTextAImg 可能已失效，请更新规则或检查页面");
  EXPECT_NE(std::find(shown.begin(), shown.end(), warning), shown.end());
  auto* status = dynamic_cast<wxStaticText*>(window().FindWindow(ids::kStatusDisplay));
  EXPECT_EQ(status->GetLabel(), warning + wx("；采集结束：共2页，0条结果，2页没有找到记录，规则出错0次"));
  ASSERT_NE(status->GetToolTip(), nullptr);
  EXPECT_EQ(status->GetToolTip()->GetTip(), status->GetLabel());
}

TEST_F(SampleRun, StopEndsARunWithItsEndMessage) {
  window().stop();  // before any run: nothing happens
  setText(window().page(TabPage::Search), ids::kSearchKeyword, "slow");
  setText(window().page(TabPage::Search), ids::kSearchPages, "20");
  const std::size_t before = messages.size();
  window().collect();
  pumpFor(500);
  window().stop();
  ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 20000));
  EXPECT_EQ(messages.back(), wx("任务完成！"));
  EXPECT_TRUE(label(window(), ids::kStatusDisplay).StartsWith(wx("已停止：")));
  EXPECT_TRUE(pumpUntil([&] { return window().collectButton().IsEnabled(); }, 5000));
}

TEST_F(SampleRun, ClosingTheWindowDuringARunEndsItWithoutHanging) {
  setText(window().page(TabPage::Search), ids::kSearchKeyword, "slow");
  setText(window().page(TabPage::Search), ids::kSearchPages, "20");
  window().Hide();
  // The real path: the window runs modally, collect is pressed, then the
  // window is closed while the slow page is on its way.
  wxTheApp->CallAfter([this] {
    window().collect();
    wxTheApp->CallAfter([this] {
      pumpFor(800);
      window().Close();
    });
  });
  const auto start = std::chrono::steady_clock::now();
  session->runModal();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(window().closeDecided());
  EXPECT_FALSE(session->controller().busy());
  EXPECT_LT(took, std::chrono::seconds(15));
  session.reset();  // destroys the window after its runs
}

}  // namespace
}  // namespace gleaner::testing
