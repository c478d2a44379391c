#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/tooltip.h>

#include <atomic>
#include <map>
#include <set>
#include <thread>

#include "app/ResultListView.h"
#include "engine/RunOutcome.h"
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
  onWorker(*window, [&] { window->runStarted({Job::Sellers}); });
  EXPECT_EQ(headings(list),
            plannedHeadings(list, {{"商品名称", 350}, {"卖家ID", 100}, {"卖家旺旺昵称", 150}, {"信用等级", 250}}));
  onWorker(*window, [&] { window->runStarted({Job::Offers}); });
  EXPECT_EQ(headings(list),
            plannedHeadings(list, {{"商品名称", 260}, {"商家名称", 200}, {"商家旺旺", 100}, {"网店地址", 400}}));
  onWorker(*window, [&] { window->runStarted({Job::Buyers}); });
  EXPECT_EQ(headings(list),
            plannedHeadings(list, {{"商品名称", 350}, {"买家ID", 100}, {"买家旺旺昵称", 180}, {"商品网址", 160}}));
  EXPECT_TRUE(list.HasFlag(wxLC_REPORT));
  EXPECT_TRUE(list.HasFlag(wxLC_VIRTUAL));
  EXPECT_TRUE(list.HasFlag(wxLC_ALIGN_LEFT));
  EXPECT_FALSE(list.HasFlag(wxLC_SINGLE_SEL));
}

TEST_F(ResultList, AppendsFromManyThreadsNeverShareARow) {
  onWorker(*window, [&] { window->runStarted({Job::Offers}); });
  constexpr int kThreads = 4;
  constexpr int kEach = 500;
  std::atomic<int> found{0};
  onWorker(*window, [&] {
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
      workers.emplace_back([&, t] {
        for (int i = 0; i < kEach; ++i) {
          window->rowFound({"name", "t" + std::to_string(t), std::to_string(i), "x"}, ++found);
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
}

// 全部删除 during a run: the count is the list's, and the run's next row is
// row 0 of the emptied list.
TEST_F(ResultList, DeleteAllKeepsTheColumnsAndTheCountIsTheLists) {
  onWorker(*window, [&] {
    window->runStarted({Job::Buyers});
    for (int i = 1; i <= 10; ++i) window->rowFound({"t", "b" + std::to_string(i), "n", "u"}, i);
  });
  EXPECT_EQ(countDisplay(*window), "10");
  window->deleteAll();  // the button
  EXPECT_EQ(window->resultList().GetItemCount(), 0);
  EXPECT_EQ(window->model().rowCount(), 0u);
  EXPECT_EQ(window->resultList().GetColumnCount(), 4);
  EXPECT_EQ(countDisplay(*window), "0");
  onWorker(*window, [&] { window->rowFound({"t", "b11", "n", "u"}, 11); });
  EXPECT_EQ(window->resultList().GetItemCount(), 1);
  EXPECT_EQ(window->resultList().displayedText(0, 1), "b11");
  EXPECT_EQ(countDisplay(*window), "1");
  EXPECT_FALSE(window->restoreAvailable()) << "the run's row replaced the emptied list";
}

// A run's lines and its end, told from its thread: the status line follows
// the run; at the end it keeps the outcome's line, the user reads the
// outcome's message, and only then is collect enabled again.
TEST_F(ResultList, TheRunsEndShowsItsLineAndMessageThenEnablesCollect) {
  window->collectButton().Disable();
  onWorker(*window, [&] {
    window->runStarted({Job::Offers});
    window->statusChanged("\xD5\xFD\xD4\xDA\xB2\xC9\xBC\xAF\xB5\xDA" "3\xD2\xB3");  // 正在采集第3页
  });
  auto* status = controlOf<wxStaticText>(*window, ids::kStatusDisplay);
  EXPECT_EQ(status->GetLabel(), wx("正在采集第3页"));
  EXPECT_FALSE(window->collectButton().IsEnabled());

  RunOutcome outcome;
  outcome.kind = OutcomeKind::PageFailed;
  outcome.statusLine = gbkOf("第3页下载失败（HTTP 404），采集到第2页为止：采集结束：共2页，2条结果");
  outcome.message = gbkOf("第3页下载失败（HTTP 404），采集到第2页为止。\r\n请检查网络连接");
  wxString lineAtMessage;
  bool enabledAtMessage = true;
  window->setMessagePresenter([&](const wxString& text) {
    messages.push_back(text);
    lineAtMessage = status->GetLabel();
    enabledAtMessage = window->collectButton().IsEnabled();
  });
  onWorker(*window, [&] { window->runEnded(outcome); });
  ASSERT_EQ(messages.size(), 1u) << "told once the run ended";
  EXPECT_EQ(messages.back(), wx("第3页下载失败（HTTP 404），采集到第2页为止。\r\n请检查网络连接"));
  EXPECT_EQ(lineAtMessage, wx("第3页下载失败（HTTP 404），采集到第2页为止：采集结束：共2页，2条结果"));
  EXPECT_FALSE(enabledAtMessage);
  EXPECT_EQ(status->GetLabel(), lineAtMessage);
  ASSERT_NE(status->GetToolTip(), nullptr);
  EXPECT_EQ(status->GetToolTip()->GetTip(), lineAtMessage);
  EXPECT_TRUE(window->collectButton().IsEnabled());
}

TEST_F(ResultList, ShowsControlCharactersAsSpacesButKeepsTheCells) {
  // A buyer row as the extractor gives it: the title ends in a tab and CR LF,
  // the buyer id in a tab.
  const ResultRow row{"\xBA\xCB\xCC\xD2\t\r\n", "90084618\t", "a\tb\r\nc", "\x01\x7F"};
  onWorker(*window, [&] {
    window->runStarted({Job::Buyers});
    window->rowFound(row, 1);
  });
  ResultListView& list = window->resultList();
  EXPECT_EQ(list.displayedText(0, 0), wx("核桃"));
  EXPECT_EQ(list.displayedText(0, 1), "90084618");
  EXPECT_EQ(list.displayedText(0, 2), "a b c");
  EXPECT_EQ(list.displayedText(0, 3), "");
  EXPECT_EQ(ResultListView::legible("  x \t\t y  "), "  x   y  ") << "ordinary spaces stay";
  std::vector<ResultRow> kept;
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
    window->runStarted({Job::Sellers});
    window->rowFound({"walnut", "id", longId, creditCell}, 1);
    window->rowFound({std::string(300, 'x'), "id2", "w", gbkOf("3钻, 卖家信用: 1234")}, 2);
  });
  ResultListView& list = window->resultList();
  EXPECT_EQ(list.displayedText(0, 3), wx("卖家信用: 1"));
  EXPECT_EQ(list.displayedText(1, 3), wx("3钻, 卖家信用: 1234"));
  EXPECT_EQ(window->model().cell(0, 3), creditCell) << "the row keeps the collected bytes";
  EXPECT_EQ(ResultListView::shownCell(Job::Offers, 3, ", x"), ", x")
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

TEST_F(ResultList, ARunsEndWaitsForTheUserAndCallsAfterTheCloseDoNotWait) {
  RunOutcome finished;
  finished.message = "\xC8\xCE\xCE\xF1\xCD\xEA\xB3\xC9\xA3\xA1";  // 任务完成！
  bool returned = false;
  window->setMessagePresenter([&](const wxString& text) {
    EXPECT_FALSE(returned) << "the run waits while the user reads";
    messages.push_back(text);
  });
  onWorker(*window, [&] {
    window->runEnded(finished);
    returned = true;
  });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages.front(), wx("任务完成！"));

  window->decideClose();
  // The event loop is not run here: a call that had to reach the window would hang.
  std::thread late([&] {
    window->runStarted({Job::Offers});
    window->rowFound({"a", "b", "c", "d"}, 1);
    window->statusChanged("late");
    window->runEnded(finished);
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
