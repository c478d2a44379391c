// What the templates' geometry leaves to the program so that the windows
// read well here: a main window that fits the screen and gives its room to
// the list, group boxes inside their pages, and the export dialog's
// choices shown whole.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "app/ExportDialog.h"
#include "app/LinkPicture.h"
#include "app/ResultListView.h"
#include "app/TabPageHost.h"
#include "app/TemplatePage.h"
#include "MainWindowFixture.h"
#include "res/ControlIds.h"

namespace gleaner::testing {
namespace {

using Layout = MainWindowFixture;

// Every shown control of the window lies in its client area, and none
// below the list overlaps it.
void expectEverythingInView(MainDialog& window) {
  const wxRect client(wxPoint(0, 0), window.GetClientSize());
  const wxRect list = window.resultList().GetRect();
  for (wxWindow* child : window.GetChildren()) {
    if (!child->IsShown()) continue;
    SCOPED_TRACE(child->GetLabel().utf8_string() + " id " + std::to_string(child->GetId()));
    EXPECT_TRUE(client.Contains(child->GetRect())) << "client " << client.width << "x" << client.height;
    if (child != &window.resultList() && child->GetId() != ids::kTabControl) {
      EXPECT_FALSE(list.Intersects(child->GetRect()));
    }
  }
}

TEST_F(Layout, TheWindowFitsTheWorkAreaAndTheListTakesTheRoom) {
  // It opens within the work area of its screen.
  EXPECT_TRUE(window->workAreaOfStartingScreen().Contains(window->GetScreenRect()));

  const wxSize opening = window->GetClientSize();
  ResultListView& list = window->resultList();
  const wxRect listAtOpening = list.GetRect();
  const wxRect tabsAtOpening = window->tabs().GetRect();
  const wxPoint collectAtOpening = window->collectButton().GetPosition();
  const wxPoint linkAtOpening = window->linkPicture().GetPosition();

  // Larger: the list takes the room, the buttons and the picture move with the edges.
  const wxSize more(200, 150);
  window->SetClientSize(opening + more);
  pumpFor(50);
  EXPECT_EQ(list.GetSize(), listAtOpening.GetSize() + more);
  EXPECT_EQ(window->tabs().GetRect(), tabsAtOpening) << "the tab pages keep their size";
  EXPECT_EQ(window->collectButton().GetPosition(), collectAtOpening + wxPoint(0, more.y));
  EXPECT_EQ(window->linkPicture().GetPosition(), linkAtOpening + wxPoint(more.x, more.y));
  expectEverythingInView(*window);

#ifdef __WXMSW__
  // Maximised, the list is larger still; restored, as it was. (A window
  // manager maximises on Linux, and the virtual display has none.)
  window->Maximize();
  ASSERT_TRUE(pumpUntil([&] { return window->GetClientSize().y > opening.y + more.y; }, 3000))
      << "the window can be maximised on a " << window->workAreaOfStartingScreen().height << " pixel high screen";
  EXPECT_GT(list.GetSize().y, listAtOpening.height + more.y);
  expectEverythingInView(*window);
  window->Maximize(false);
  pumpFor(100);
#endif

  // As small as it goes, the list gives the room back and nothing is hidden.
  window->SetClientSize(wxSize(1, 1));
  pumpFor(50);
  const wxSize smallest = window->GetClientSize();
  EXPECT_EQ(smallest, window->ConvertDialogToPixels(wxSize(548, 306)));
  EXPECT_EQ(list.GetSize().y, listAtOpening.height - (opening.y - smallest.y));
  EXPECT_GE(list.GetSize().y, window->ConvertDialogToPixels(wxSize(0, 100)).y);
  expectEverythingInView(*window);

  // On the work area of a 1366 × 768 screen with a task bar (and at 150 % of
  // a 1920 × 1080 one: 1280 × 693 at 96 DPI) it opens whole, and on a
  // smaller one than planned it still does.
  const wxSize frame = window->GetSize() - window->GetClientSize();
  for (const wxRect& planned : {wxRect(0, 0, 1366, 728), wxRect(0, 0, 1280, 693), wxRect(100, 50, 900, 520)}) {
    const wxRect workArea(window->FromDIP(planned.GetPosition()), window->FromDIP(planned.GetSize()));
    window->SetClientSize(opening);
    window->fitIntoWorkArea(workArea);
    pumpFor(50);
    SCOPED_TRACE(::testing::Message() << "work area " << workArea.width << "x" << workArea.height);
    EXPECT_TRUE(workArea.Contains(window->GetRect()));
    EXPECT_LE(window->GetClientSize().y + frame.y, workArea.height);
    // Narrower than the tab pages, the window still fits; the pages are cut.
    if (planned.width >= 1280) expectEverythingInView(*window);
  }
}

TEST_F(Layout, GroupBoxesEndInsideTheirPagesWithTheirLeftMargin) {
  int boxes = 0;
  for (int tab = 0; tab < 4; ++tab) {
    window->tabs().SetSelection(static_cast<std::size_t>(tab));
    pumpFor(50);
    TemplatePage& page = *window->tabs().addedPage(tab);
    const wxSize room = page.GetClientSize();
    for (wxWindow* child : page.GetChildren()) {
      if (dynamic_cast<wxStaticBox*>(child) == nullptr) continue;
      ++boxes;
      const wxRect box = child->GetRect();
      SCOPED_TRACE(child->GetLabel().utf8_string());
      EXPECT_LE(box.GetRight() + 1, room.x - box.x) << "page " << room.x << " wide";
      EXPECT_LE(box.GetBottom() + 1, room.y);
      // Clipped, not shrunk to nothing: everything the box frames stays inside it.
      for (wxWindow* other : page.GetChildren()) {
        if (other == child || !other->IsShown() || !box.Intersects(other->GetRect())) continue;
        EXPECT_TRUE(box.Contains(other->GetRect())) << other->GetLabel().utf8_string();
      }
    }
  }
  EXPECT_EQ(boxes, 2) << "商品搜索设置 and 软件使用帮助";
}

TEST_F(Layout, ExportChoicesShowTheirWholeText) {
  ExportDialog options(window);
  auto* sellers = controlOf<wxRadioButton>(options, ids::kExportSellers);
  EXPECT_EQ(sellers->GetLabel(), wx("导出卖家信息，导出的信息将会去除重复记录")) << "one sentence";
  for (int id : {ids::kExportAll, ids::kExportSellers}) {
    auto* choice = controlOf<wxRadioButton>(options, id);
    EXPECT_GE(choice->GetSize().x, choice->GetBestSize().x) << choice->GetLabel();
    EXPECT_LE(choice->GetRect().GetRight(), options.FindWindow(1)->GetPosition().x) << "left of the buttons";
  }
}

}  // namespace
}  // namespace gleaner::testing
