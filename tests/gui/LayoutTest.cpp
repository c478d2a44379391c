// What the templates' geometry leaves to the program so that the windows
// read well here: group boxes inside their pages, and the export dialog's
// note continuing the sellers choice on its line.
#include <gtest/gtest.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "app/ExportDialog.h"
#include "app/TabPageHost.h"
#include "app/TemplatePage.h"
#include "MainWindowFixture.h"
#include "res/ControlIds.h"

namespace gleaner::testing {
namespace {

using Layout = MainWindowFixture;

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

TEST_F(Layout, ExportNoteContinuesTheSellersChoiceOnItsLine) {
  ExportDialog options(window);
  auto* sellers = controlOf<wxRadioButton>(options, ids::kExportSellers);
  wxStaticText* note = nullptr;
  for (wxWindow* child : options.GetChildren()) {
    if (auto* text = dynamic_cast<wxStaticText*>(child)) note = text;
  }
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->GetLabel(), wx(",导出的信息将会去除重复记录"));
  // It starts where the choice's text ends, within a few pixels, and shares its line.
  const int textEnd = sellers->GetPosition().x + sellers->GetTextExtent(sellers->GetLabel()).x;
  EXPECT_GE(note->GetPosition().x, textEnd);
  EXPECT_LE(note->GetPosition().x, textEnd + 3 * sellers->GetTextExtent("M").x + 16);
  const int noteMiddle = note->GetPosition().y + note->GetSize().y / 2;
  EXPECT_NEAR(noteMiddle, sellers->GetPosition().y + sellers->GetSize().y / 2, sellers->GetSize().y / 2);
  EXPECT_LE(note->GetRect().GetRight(), options.GetClientSize().x) << "the whole note is in the dialog";
}

}  // namespace
}  // namespace gleaner::testing
