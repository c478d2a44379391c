// Whole runs from the main window against the sample site.
#include <gtest/gtest.h>

#include <algorithm>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>
#include <wx/uiaction.h>

#include "app/PauseIndicator.h"
#include "app/TabPageHost.h"
#include "engine/MemoryWindow.h"
#include "extract/PageExtractor.h"
#include "sample-site/SampleCatalog.h"
#include "support/ExpectedRows.h"
#include "text/GbkText.h"
#include "app/TemplatePage.h"
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
  // Pages 1, 2 and 3, each once, each offer with its offer page's name.
  EXPECT_EQ(rows, concat({expectedOfferRows("tiny", 1), expectedOfferRows("tiny", 2), expectedOfferRows("tiny", 3)}));
  EXPECT_EQ(label(window(), ids::kCountDisplay), wxString::Format("%zu", rows.size()));
  // The status line keeps the run's summary; the end message is the same as ever.
  EXPECT_EQ(label(window(), ids::kStatusDisplay), wx("采集结束：共3页，3条结果，0页没有找到记录，规则出错0次"));
  EXPECT_EQ(window().listColumns(), CollectionMode::OfferSearch);
  EXPECT_TRUE(pumpUntil([&] { return window().collectButton().IsEnabled(); }, 5000))
      << "enabled again when the run ends";
  EXPECT_TRUE(window().autoRefreshOn()) << "the first collect starts the refresh timer";
}

TEST_F(SampleRun, ItemBuyersFillsTheListWithTheBuyersOfTheReviewPages) {
  window().tabs().SetSelection(1);
  setText(window().page(TabPage::ItemUrl), ids::kItemAddress, kFailingItem);
  ASSERT_TRUE(collectAndWait());
  // The item title as the engine reads it from the item page, in every row;
  // the buyers of review pages 1 to 3 (page 4 fails and ends the walk).
  MemoryWindow scratch;
  const std::string probe = PageExtractor(scratch, sites).ItemPageProbe(
      site->answer("item.taobao.com", "/item.htm?id=10000000004").body);
  const std::string title = gbk::after(probe, "#");
  ASSERT_FALSE(title.empty());
  std::vector<ResultRow> expected;
  for (int page = 1; page < sample::kFirstFailingReviewPage; ++page) {
    const auto buyers = expectedBuyerRows("10000000004", page, title, kFailingItem);
    expected.insert(expected.end(), buyers.begin(), buyers.end());
  }
  const auto rows = listRows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(label(window(), ids::kCountDisplay), wxString::Format("%zu", rows.size()));
}

TEST_F(SampleRun, SellerSearchFiltersByTheTypedLevel) {
  window().tabs().SetSelection(2);
  setText(window().page(TabPage::SellerSearch), ids::kSellerPages, "2");
  ASSERT_TRUE(collectAndWait());
  // The first address (offset 0), then offset 40.
  const std::string keyword = gbkText("核桃");
  const std::string everyLevel = gbkText("所有信用等级");
  const auto page1 = expectedSellerRows(keyword, 0, everyLevel);
  EXPECT_EQ(listRows(), concat({page1, expectedSellerRows(keyword, 40, everyLevel)}));
  // A level typed into the box (5钻 is not in its list) keeps that level's
  // sellers and those below 4 points, whose empty level every filter holds.
  dynamic_cast<wxComboBox*>(window().page(TabPage::SellerSearch).FindWindow(ids::kSellerLevel))->SetValue(wx("5钻"));
  ASSERT_TRUE(collectAndWait());
  const std::string level = gbkText("5钻");
  const auto filtered = listRows();
  EXPECT_EQ(filtered, concat({expectedSellerRows(keyword, 0, level), expectedSellerRows(keyword, 40, level)}));
  EXPECT_LT(filtered.size(), page1.size() + expectedSellerRows(keyword, 40, everyLevel).size());
}

TEST_F(SampleRun, ColumnsAreTheSecondJobsAfterTwoRunsAndDeleteAllKeepsTheCount) {
  window().tabs().SetSelection(2);
  setText(window().page(TabPage::SellerSearch), ids::kSellerPages, "1");
  ASSERT_TRUE(collectAndWait());
  window().tabs().SetSelection(1);
  setText(window().page(TabPage::ItemUrl), ids::kItemAddress, kFailingItem);
  ASSERT_TRUE(collectAndWait());
  EXPECT_EQ(window().listColumns(), CollectionMode::ItemBuyers);
  EXPECT_EQ(window().resultList().GetColumnCount(), 4);
  wxListItem column;
  column.SetMask(wxLIST_MASK_TEXT);
  window().resultList().GetColumn(1, column);
  EXPECT_EQ(column.GetText(), wx("买家ID"));

  const wxString count = label(window(), ids::kCountDisplay);
  EXPECT_FALSE(count.empty());
  window().deleteAll();
  EXPECT_EQ(window().resultList().GetItemCount(), 0);
  EXPECT_EQ(label(window(), ids::kCountDisplay), count);
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
  EXPECT_EQ(listRows(), concat({expectedOfferRows("tiny", 1), expectedOfferRows("tiny", 2), expectedOfferRows("tiny", 3)}));
  EXPECT_EQ(label(window(), ids::kStatusDisplay), wx("采集结束：共3页，3条结果，0页没有找到记录，规则出错0次"));
  EXPECT_EQ(window().listColumns(), CollectionMode::OfferSearch);
  std::vector<std::string> searches;
  for (const auto& request : site->requests()) {
    if (request.host == "s.1688.com") searches.push_back(request.target);
  }
  EXPECT_EQ(searches.size(), 3u);
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
