// Whole runs from the main window against the sample site.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/TabPageHost.h"
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
  // One offer per page; each row names its offer page, in the order the
  // offer pages were read, and carries texts of the pages it came from.
  std::vector<std::string> offerPages;
  for (const sample::SiteRequest& r : site->requests()) {
    if (r.host == "detail.1688.com") offerPages.push_back("http://detail.1688.com" + r.target);
  }
  ASSERT_FALSE(rows.empty());
  ASSERT_EQ(rows.size(), offerPages.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i][3], offerPages[i]);
    EXPECT_FALSE(rows[i][1].empty()) << i;
    EXPECT_FALSE(rows[i][2].empty()) << i;
  }
  EXPECT_EQ(label(window(), ids::kCountDisplay), wxString::Format("%zu", rows.size()));
  EXPECT_TRUE(label(window(), ids::kStatusDisplay).StartsWith(wx("正在采集第")));
  EXPECT_EQ(window().listColumns(), CollectionMode::OfferSearch);
  EXPECT_TRUE(pumpUntil([&] { return window().collectButton().IsEnabled(); }, 5000))
      << "enabled again when the run ends";
  EXPECT_TRUE(window().autoRefreshOn()) << "the first collect starts the refresh timer";
}

TEST_F(SampleRun, ItemBuyersFillsTheListWithTheBuyersOfTheReviewPages) {
  window().tabs().SetSelection(1);
  setText(window().page(TabPage::ItemUrl), ids::kItemAddress, kFailingItem);
  ASSERT_TRUE(collectAndWait());
  const auto rows = listRows();
  ASSERT_FALSE(rows.empty());
  for (const ResultRow& row : rows) {
    EXPECT_FALSE(row[0].empty()) << "the item title";
    EXPECT_EQ(row[0], rows.front()[0]);
    EXPECT_EQ(row[3], kFailingItem) << "the address box's text";
  }
  EXPECT_EQ(label(window(), ids::kCountDisplay), wxString::Format("%zu", rows.size()));
}

TEST_F(SampleRun, SellerSearchFiltersByTheTypedLevel) {
  window().tabs().SetSelection(2);
  setText(window().page(TabPage::SellerSearch), ids::kSellerPages, "1");
  ASSERT_TRUE(collectAndWait());
  const auto all = listRows();
  ASSERT_FALSE(all.empty());
  for (const ResultRow& row : all) EXPECT_FALSE(row[3].empty());
  // A level typed into the box (5钻 is not in its list) keeps only that level's sellers.
  dynamic_cast<wxComboBox*>(window().page(TabPage::SellerSearch).FindWindow(ids::kSellerLevel))->SetValue(wx("5钻"));
  ASSERT_TRUE(collectAndWait());
  const auto filtered = listRows();
  EXPECT_LT(filtered.size(), all.size());
  for (const ResultRow& row : filtered) EXPECT_EQ(row[3], filtered.front()[3]);
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
  EXPECT_EQ(label(window(), ids::kStatusDisplay), wx("正在采集第1页"));
  const int afterFirstPage = window().resultList().GetItemCount();
  EXPECT_GT(afterFirstPage, 0);
  window().togglePause();
  ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 60000));
  EXPECT_GT(window().resultList().GetItemCount(), afterFirstPage);
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
