// A requested pause outlives runs, so the window shows it: the
// pause/continue button stays down and the status line says the collection
// is held, from the press on, whatever the run writes meanwhile.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/uiaction.h>

#include "app/PauseIndicator.h"
#include "app/TemplatePage.h"
#include "res/ControlIds.h"
#include "SampleRunFixture.h"

namespace gleaner::testing {
namespace {

class Pause : public SampleRunFixture {
 protected:
  wxToggleButton& button() { return *controlOf<wxToggleButton>(window(), ids::kPauseContinue); }
  wxString statusLine() { return controlOf<wxStaticText>(window(), ids::kStatusDisplay)->GetLabel(); }

  // A real click on pause/continue; true once the button has taken the given state.
  bool click(bool expectDown) {
    wxUIActionSimulator sim;
    window().Raise();
    const wxRect rect = button().GetScreenRect();
    sim.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
    pumpFor(50);
    sim.MouseClick();
    return pumpUntil(
        [&] { return button().GetValue() == expectDown && window().pauseSwitch().paused() == expectDown; }, 3000);
  }

  void setSearch(const char* keyword, const char* pages) {
    dynamic_cast<wxTextEntry*>(window().page(TabPage::Search).FindWindow(ids::kSearchKeyword))->SetValue(wx(keyword));
    dynamic_cast<wxTextEntry*>(window().page(TabPage::Search).FindWindow(ids::kSearchPages))->SetValue(wx(pages));
  }

  const wxString pausedLine = wx("已暂停，按暂停/继续键继续采集");
};

TEST_F(Pause, ButtonStaysDownAndTheLineStaysWhileTheRunWritesUnderIt) {
  ASSERT_TRUE(click(true));
  EXPECT_EQ(statusLine(), pausedLine) << "shown before any run";
  setSearch("tiny", "3");
  const std::size_t before = messages.size();
  window().collect();
  // The first page comes in and the run writes its line; the pause line stays.
  ASSERT_TRUE(pumpUntil([&] { return window().resultList().GetItemCount() > 0; }, 30000));
  pumpFor(500);
  EXPECT_EQ(window().pauseIndicator().runStatus(), wx("正在采集第1页"));
  EXPECT_EQ(statusLine(), pausedLine);
  EXPECT_TRUE(button().GetValue());
  EXPECT_EQ(messages.size(), before);

  // Continue: the button comes up, the run's own line is back and the run
  // ends on its summary.
  ASSERT_TRUE(click(false));
  EXPECT_NE(statusLine(), pausedLine);
  ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 60000));
  EXPECT_EQ(messages.back(), wx("任务完成！"));
  EXPECT_TRUE(statusLine().StartsWith(wx("采集结束：共3页"))) << statusLine();
  EXPECT_FALSE(button().GetValue());
}

TEST_F(Pause, APauseLeftFromAStoppedRunShowsAtOnceInTheNext) {
  setSearch("slow", "20");
  std::size_t before = messages.size();
  window().collect();
  pumpFor(300);
  window().togglePause();
  window().stop();
  ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 20000));
  EXPECT_EQ(statusLine(), pausedLine) << "the run has ended, the pause has not";
  EXPECT_TRUE(button().GetValue());
  ASSERT_TRUE(pumpUntil([&] { return window().collectButton().IsEnabled(); }, 5000));

  // The next run is held after its first page; the line says so from its start.
  setSearch("tiny", "2");
  before = messages.size();
  window().collect();
  EXPECT_EQ(statusLine(), pausedLine);
  ASSERT_TRUE(pumpUntil([&] { return window().resultList().GetItemCount() > 0; }, 30000));
  pumpFor(300);
  EXPECT_EQ(statusLine(), pausedLine);
  EXPECT_EQ(messages.size(), before);
  window().togglePause();
  EXPECT_FALSE(button().GetValue());
  EXPECT_EQ(statusLine(), wx("正在继续采集…")) << "not the page before the pause";
  ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 60000));
}

}  // namespace
}  // namespace gleaner::testing
