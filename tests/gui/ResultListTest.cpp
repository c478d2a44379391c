#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

#include <set>
#include <thread>

#include "MainWindowFixture.h"
#include "res/ControlIds.h"

namespace gleaner::testing {
namespace {

using ResultList = MainWindowFixture;

std::vector<wxString> headings(wxListCtrl& list) {
  std::vector<wxString> texts;
  for (int c = 0; c < list.GetColumnCount(); ++c) {
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH);
    list.GetColumn(c, column);
    texts.push_back(column.GetText() + wxString::Format(":%d", column.GetWidth()));
  }
  return texts;
}

wxString countDisplay(MainDialog& window) {
  return dynamic_cast<wxStaticText*>(window.FindWindow(ids::kCountDisplay))->GetLabel();
}

// Runs body on a thread of its own while the event loop goes on, as a run would.
void onWorker(const std::function<void()>& body) {
  bool done = false;
  std::thread worker([&] {
    body();
    done = true;
  });
  ASSERT_TRUE(pumpUntil([&] { return done; }, 20000));
  worker.join();
}

TEST_F(ResultList, ColumnSetsAreThoseOfTheLatestJob) {
  wxListCtrl& list = window->resultList();
  onWorker([&] { window->setJobColumns(CollectionMode::SellerSearch); });
  EXPECT_EQ(headings(list), (std::vector<wxString>{wx("商品名称:350"), wx("卖家ID:100"), wx("卖家旺旺昵称:150"),
                                                  wx("信用等级:250")}));
  onWorker([&] { window->setJobColumns(CollectionMode::OfferSearch); });
  EXPECT_EQ(headings(list), (std::vector<wxString>{wx("商品名称:260"), wx("商家名称:200"), wx("商家旺旺:100"),
                                                  wx("网店地址:400")}));
  onWorker([&] { window->setJobColumns(CollectionMode::ItemBuyers); });
  EXPECT_EQ(headings(list), (std::vector<wxString>{wx("商品名称:350"), wx("买家ID:100"), wx("买家旺旺昵称:180"),
                                                  wx("商品网址:160")}));
  EXPECT_TRUE(list.HasFlag(wxLC_REPORT));
  EXPECT_TRUE(list.HasFlag(wxLC_ALIGN_LEFT));
  EXPECT_FALSE(list.HasFlag(wxLC_SINGLE_SEL));
}

TEST_F(ResultList, AppendsFromManyThreadsNeverShareARow) {
  onWorker([&] { window->setJobColumns(CollectionMode::OfferSearch); });
  constexpr int kThreads = 4;
  constexpr int kEach = 50;
  bool allDone = false;
  std::thread driver([&] {
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
      workers.emplace_back([&, t] {
        for (int i = 0; i < kEach; ++i) {
          const int n = ++window->runFields().offerRowCounter;
          window->appendRow({"name", "t" + std::to_string(t), std::to_string(i), "x"}, std::to_string(n));
        }
      });
    }
    for (auto& w : workers) w.join();
    allDone = true;
  });
  ASSERT_TRUE(pumpUntil([&] { return allDone; }, 30000));
  driver.join();

  wxListCtrl& list = window->resultList();
  ASSERT_EQ(list.GetItemCount(), kThreads * kEach);
  std::set<std::pair<wxString, wxString>> cells;
  for (int r = 0; r < list.GetItemCount(); ++r) {
    EXPECT_EQ(list.GetItemText(r, 0), "name");
    EXPECT_EQ(list.GetItemText(r, 3), "x") << "row " << r << " has all of its cells";
    cells.emplace(list.GetItemText(r, 1), list.GetItemText(r, 2));
  }
  EXPECT_EQ(cells.size(), static_cast<std::size_t>(kThreads * kEach));
  EXPECT_EQ(countDisplay(*window), wxString::Format("%d", kThreads * kEach));
}

TEST_F(ResultList, DeleteAllKeepsColumnsAndCountDisplay) {
  onWorker([&] {
    window->setJobColumns(CollectionMode::ItemBuyers);
    for (int i = 1; i <= 10; ++i) window->appendRow({"t", "b" + std::to_string(i), "n", "u"}, std::to_string(i));
  });
  EXPECT_EQ(countDisplay(*window), "10");
  window->deleteAll();  // the button
  EXPECT_EQ(window->resultList().GetItemCount(), 0);
  EXPECT_EQ(window->resultList().GetColumnCount(), 4);
  EXPECT_EQ(countDisplay(*window), "10");
  // The next row of the same run is row 0 of the emptied list.
  onWorker([&] { window->appendRow({"t", "b11", "n", "u"}, "11"); });
  EXPECT_EQ(window->resultList().GetItemCount(), 1);
  EXPECT_EQ(window->resultList().GetItemText(0, 1), "b11");
  EXPECT_EQ(countDisplay(*window), "11");
}

TEST_F(ResultList, SingleOperationsBehaveAsTheEngineExpects) {
  onWorker([&] {
    window->setJobColumns(CollectionMode::SellerSearch);
    window->insertRow(window->rowCount(), "\xBA\xCB\xCC\xD2");  // 核桃 in GBK
    window->setCellText(0, 1, "id1");
    window->setCellText(0, 7, "ignored");
    window->setCellText(5, 1, "ignored");
    window->insertRow(99, "last");
    window->setCountDisplay("2");
    window->setStatusText("\xD5\xFD\xD4\xDA\xB2\xC9\xBC\xAF\xB5\xDA" "3\xD2\xB3");  // 正在采集第3页
    window->enableCollectButton(false);
    EXPECT_EQ(window->rowCount(), 2);
  });
  wxListCtrl& list = window->resultList();
  EXPECT_EQ(list.GetItemText(0, 0), wx("核桃"));
  EXPECT_EQ(list.GetItemText(0, 1), "id1");
  EXPECT_EQ(list.GetItemText(1, 0), "last");
  EXPECT_EQ(countDisplay(*window), "2");
  EXPECT_EQ(dynamic_cast<wxStaticText*>(window->FindWindow(ids::kStatusDisplay))->GetLabel(), wx("正在采集第3页"));
  EXPECT_FALSE(window->collectButton().IsEnabled());
  onWorker([&] { window->enableCollectButton(true); });
  EXPECT_TRUE(window->collectButton().IsEnabled());
}

TEST_F(ResultList, MessagesFromARunWaitForTheUserAndCallsAfterTheCloseDoNotWait) {
  onWorker([&] { window->showMessage("\xC8\xCE\xCE\xF1\xCD\xEA\xB3\xC9\xA3\xA1"); });  // 任务完成！
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages.front(), wx("任务完成！"));

  window->decideClose();
  // The event loop is not run here: a call that had to reach the window would hang.
  std::thread late([&] {
    window->appendRow({"a", "b", "c", "d"}, "1");
    EXPECT_EQ(window->selectedTabIndex(), -1);
    EXPECT_EQ(window->controlText(TabPage::Search, ids::kSearchKeyword), "");
    window->showMessage("late");
  });
  late.join();
  EXPECT_EQ(window->resultList().GetItemCount(), 0);
  EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
}  // namespace gleaner::testing
