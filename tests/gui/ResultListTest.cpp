#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/stattext.h>

#include <set>
#include <thread>

#include "app/ResultListView.h"
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

// Runs body on a thread of its own while the event loop goes on, as a run
// would, then lets the list catch up on its own timer.
void onWorker(MainDialog& window, const std::function<void()>& body) {
  bool done = false;
  std::thread worker([&] {
    body();
    done = true;
  });
  ASSERT_TRUE(pumpUntil([&] { return done; }, 20000));
  worker.join();
  const std::size_t rows = window.model().rowCount();
  ASSERT_TRUE(pumpUntil([&] { return static_cast<std::size_t>(window.resultList().GetItemCount()) == rows; }, 2000))
      << "the list control follows the rows on its timer";
  pumpFor(80);
}

// The job's widths, at 96 DPI, scaled to the screen; the last column reaches
// the list's right edge.
std::vector<wxString> plannedHeadings(wxListCtrl& list, std::vector<std::pair<const char*, int>> columns) {
  std::vector<wxString> texts;
  int others = 0;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    int width = list.FromDIP(columns[c].second);
    if (c + 1 == columns.size()) width = std::max(width, list.GetClientSize().x - others);
    others += width;
    texts.push_back(wx(columns[c].first) + wxString::Format(":%d", width));
  }
  return texts;
}

TEST_F(ResultList, ColumnSetsAreThoseOfTheLatestJob) {
  ResultListView& list = window->resultList();
  onWorker(*window, [&] { window->setJobColumns(CollectionMode::SellerSearch); });
  EXPECT_EQ(headings(list),
            plannedHeadings(list, {{"商品名称", 350}, {"卖家ID", 100}, {"卖家旺旺昵称", 150}, {"信用等级", 250}}));
  onWorker(*window, [&] { window->setJobColumns(CollectionMode::OfferSearch); });
  EXPECT_EQ(headings(list),
            plannedHeadings(list, {{"商品名称", 260}, {"商家名称", 200}, {"商家旺旺", 100}, {"网店地址", 400}}));
  onWorker(*window, [&] { window->setJobColumns(CollectionMode::ItemBuyers); });
  EXPECT_EQ(headings(list),
            plannedHeadings(list, {{"商品名称", 350}, {"买家ID", 100}, {"买家旺旺昵称", 180}, {"商品网址", 160}}));
  EXPECT_TRUE(list.HasFlag(wxLC_REPORT));
  EXPECT_TRUE(list.HasFlag(wxLC_VIRTUAL));
  EXPECT_TRUE(list.HasFlag(wxLC_ALIGN_LEFT));
  EXPECT_FALSE(list.HasFlag(wxLC_SINGLE_SEL));
}

TEST_F(ResultList, AppendsFromManyThreadsNeverShareARow) {
  onWorker(*window, [&] { window->setJobColumns(CollectionMode::OfferSearch); });
  constexpr int kThreads = 4;
  constexpr int kEach = 500;
  onWorker(*window, [&] {
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
  });

  ResultListView& list = window->resultList();
  ASSERT_EQ(list.GetItemCount(), kThreads * kEach);
  std::set<std::pair<wxString, wxString>> cells;
  std::map<wxString, int> lastOfThread;
  for (int r = 0; r < list.GetItemCount(); ++r) {
    EXPECT_EQ(list.displayedText(r, 0), "name");
    EXPECT_EQ(list.displayedText(r, 3), "x") << "row " << r << " has all of its cells";
    const wxString thread = list.displayedText(r, 1);
    const int i = wxAtoi(list.displayedText(r, 2));
    EXPECT_GT(i, lastOfThread.count(thread) ? lastOfThread[thread] : -1) << "each thread's rows in its order";
    lastOfThread[thread] = i;
    cells.emplace(thread, list.displayedText(r, 2));
  }
  EXPECT_EQ(cells.size(), static_cast<std::size_t>(kThreads * kEach));
  EXPECT_EQ(countDisplay(*window), wxString::Format("%d", kThreads * kEach));
}

TEST_F(ResultList, DeleteAllKeepsColumnsAndCountDisplay) {
  onWorker(*window, [&] {
    window->setJobColumns(CollectionMode::ItemBuyers);
    for (int i = 1; i <= 10; ++i) window->appendRow({"t", "b" + std::to_string(i), "n", "u"}, std::to_string(i));
  });
  EXPECT_EQ(countDisplay(*window), "10");
  window->deleteAll();  // the button
  EXPECT_EQ(window->resultList().GetItemCount(), 0);
  EXPECT_EQ(window->model().rowCount(), 0u);
  EXPECT_EQ(window->resultList().GetColumnCount(), 4);
  EXPECT_EQ(countDisplay(*window), "10");
  // The next row of the same run is row 0 of the emptied list.
  onWorker(*window, [&] { window->appendRow({"t", "b11", "n", "u"}, "11"); });
  EXPECT_EQ(window->resultList().GetItemCount(), 1);
  EXPECT_EQ(window->resultList().displayedText(0, 1), "b11");
  EXPECT_EQ(countDisplay(*window), "11");
}

TEST_F(ResultList, SingleOperationsBehaveAsTheEngineExpects) {
  onWorker(*window, [&] {
    window->insertRow(0, "no columns yet");
    window->setCellText(0, 1, "ignored: the list has no columns");
    window->setJobColumns(CollectionMode::SellerSearch);
    window->setCellText(0, 1, "id0");
    window->insertRow(window->rowCount(), "\xBA\xCB\xCC\xD2");  // 核桃 in GBK
    window->setCellText(1, 1, "id1");
    window->setCellText(1, 7, "ignored");
    window->setCellText(5, 1, "ignored");
    window->insertRow(99, "last");
    window->insertRow(0, "first");
    window->setCountDisplay("2");
    window->setStatusText("\xD5\xFD\xD4\xDA\xB2\xC9\xBC\xAF\xB5\xDA" "3\xD2\xB3");  // 正在采集第3页
    window->enableCollectButton(false);
    EXPECT_EQ(window->rowCount(), 4);
  });
  ResultListView& list = window->resultList();
  ASSERT_EQ(list.GetItemCount(), 4);
  EXPECT_EQ(list.displayedText(0, 0), "first");
  EXPECT_EQ(list.displayedText(1, 0), "no columns yet");
  EXPECT_EQ(list.displayedText(1, 1), "id0");
  EXPECT_EQ(list.displayedText(2, 0), wx("核桃"));
  EXPECT_EQ(list.displayedText(2, 1), "id1");
  EXPECT_EQ(list.displayedText(3, 0), "last");
  EXPECT_EQ(list.displayedText(4, 0), "") << "past the end";
  EXPECT_EQ(countDisplay(*window), "2");
  EXPECT_EQ(dynamic_cast<wxStaticText*>(window->FindWindow(ids::kStatusDisplay))->GetLabel(), wx("正在采集第3页"));
  EXPECT_FALSE(window->collectButton().IsEnabled());
  onWorker(*window, [&] { window->enableCollectButton(true); });
  EXPECT_TRUE(window->collectButton().IsEnabled());
}

TEST_F(ResultList, ShowsControlCharactersAsSpacesButKeepsTheCells) {
  // A buyer row as the extractor gives it: the title ends in a tab and CR LF,
  // the buyer id in a tab.
  const ResultRow row{"\xBA\xCB\xCC\xD2\t\r\n", "90084618\t", "a\tb\r\nc", "\x01\x7F"};
  onWorker(*window, [&] {
    window->setJobColumns(CollectionMode::ItemBuyers);
    window->appendRow(row, "1");
  });
  ResultListView& list = window->resultList();
  EXPECT_EQ(list.displayedText(0, 0), wx("核桃"));
  EXPECT_EQ(list.displayedText(0, 1), "90084618");
  EXPECT_EQ(list.displayedText(0, 2), "a b c");
  EXPECT_EQ(list.displayedText(0, 3), "");
  EXPECT_EQ(ResultListView::legible("  x \t\t y  "), "  x   y  ") << "ordinary spaces stay";
  std::vector<StoredRow> kept;
  ASSERT_TRUE(window->model().copyRows(window->model().state().epoch, 0, 1, kept));
  EXPECT_EQ(kept.front(), row) << "the row itself is unchanged";
  EXPECT_EQ(countDisplay(*window), "1");
}

int columnWidth(wxListCtrl& list, int column) { return list.GetColumnWidth(column); }

// At a run's end the columns take the width of what they hold, within
// bounds, and the last one fills the rest; a seller without a level shows
// no leading comma while the row keeps it.
TEST_F(ResultList, ColumnsFitTheRowsAndTheLastFillsTheList) {
  const std::string longId = "b2b-2918593047563821";
  const std::string creditCell = gbkOf(", 卖家信用: 1");
  onWorker(*window, [&] {
    window->setJobColumns(CollectionMode::SellerSearch);
    window->appendRow({"walnut", "id", longId, creditCell}, "1");
    window->appendRow({std::string(300, 'x'), "id2", "w", gbkOf("3钻, 卖家信用: 1234")}, "2");
  });
  ResultListView& list = window->resultList();
  EXPECT_EQ(list.displayedText(0, 3), wx("卖家信用: 1"));
  EXPECT_EQ(list.displayedText(1, 3), wx("3钻, 卖家信用: 1234"));
  EXPECT_EQ(window->model().cell(0, 3), creditCell) << "the row keeps the collected bytes";
  EXPECT_EQ(ResultListView::shownCell(static_cast<int>(CollectionMode::OfferSearch), 3, ", x"), ", x")
      << "only the seller's credit cell";

  window->fitListColumns();
  const wxString id = wxString::FromUTF8(longId);
  EXPECT_GT(columnWidth(list, 2), list.GetTextExtent(id).x) << "the whole Wangwang ID is in view";
  EXPECT_LE(columnWidth(list, 0), std::max(list.FromDIP(400), list.GetClientSize().x * 2 / 5))
      << "a very long name leaves the other columns in view";
  EXPECT_GE(columnWidth(list, 0), list.FromDIP(350));
  const int others = columnWidth(list, 0) + columnWidth(list, 1) + columnWidth(list, 2);
  EXPECT_EQ(columnWidth(list, 3), std::max(list.GetClientSize().x - others,
                                           list.GetTextExtent(wx("3钻, 卖家信用: 1234")).x))
      << "the last column reaches the right edge";

  // A wider window widens the last column with it; a column dragged narrower leaves no gap.
  const int before = columnWidth(list, 3);
  window->SetClientSize(window->GetClientSize() + wxSize(120, 0));
  ASSERT_TRUE(pumpUntil([&] { return columnWidth(list, 3) == before + 120; }, 3000)) << columnWidth(list, 3);
}

TEST_F(ResultList, MessagesFromARunWaitForTheUserAndCallsAfterTheCloseDoNotWait) {
  onWorker(*window, [&] { window->showMessage("\xC8\xCE\xCE\xF1\xCD\xEA\xB3\xC9\xA3\xA1"); });  // 任务完成！
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
  EXPECT_EQ(messages.size(), 1u);
  // A row found while the window closes is kept with the others (and so
  // reaches the store), though the closed window no longer shows it.
  EXPECT_EQ(window->model().rowCount(), 1u);
  pumpFor(100);
  EXPECT_EQ(window->resultList().GetItemCount(), 0);
}

}  // namespace
}  // namespace gleaner::testing
