// The program's message boxes: the icon of their kind, Chinese buttons
// whatever the system's language, centred on the window; and the toolkit's
// own texts in Chinese.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
// after the native box, which the generic one builds on
#include <wx/generic/msgdlgg.h>
#include <wx/timer.h>
#include <wx/translation.h>

#include <functional>
#include <set>

#include "app/MessageBoxes.h"
#include "MainWindowFixture.h"
#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner::testing {
namespace {

struct SeenBox {
  long icon = 0;
  wxPoint centre;
  std::vector<wxString> buttons;
};

// Shows a box of kind over window and answers it with answer once it is open.
SeenBox showAndAnswer(wxWindow& window, MessageKind kind, int answer, bool& result) {
  SeenBox seen;
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    for (wxWindow* top : wxTopLevelWindows) {
      auto* box = dynamic_cast<wxGenericMessageDialog*>(top);
      if (box == nullptr || !box->IsModal()) continue;
      timer.Stop();
      seen.icon = box->GetMessageDialogStyle() & wxICON_MASK;
      seen.centre = box->GetScreenRect().GetPosition() + box->GetSize() / 2;
      for (wxWindow* child : box->GetChildren()) {
        if (auto* button = dynamic_cast<wxButton*>(child)) seen.buttons.push_back(button->GetLabel());
      }
      box->EndModal(answer);
    }
  });
  timer.Start(50);
  result = showMessageBox(&window, "text", kind);
  return seen;
}

using MessageBoxes = MainWindowFixture;

TEST_F(MessageBoxes, CarryTheIconOfTheirKindChineseButtonsAndSitCentredOnTheWindow) {
  const wxRect frame = window->GetScreenRect();
  const wxPoint middle = frame.GetPosition() + frame.GetSize() / 2;
  const struct {
    MessageKind kind;
    long icon;
  } cases[] = {{MessageKind::Information, wxICON_INFORMATION},
               {MessageKind::Warning, wxICON_WARNING},
               {MessageKind::Error, wxICON_ERROR},
               {MessageKind::Question, wxICON_QUESTION}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.icon);
    const bool question = c.kind == MessageKind::Question;
    bool result = false;
    const SeenBox seen = showAndAnswer(*window, c.kind, question ? wxID_NO : wxID_OK, result);
    EXPECT_EQ(seen.icon, c.icon);
    // In the order of the system's convention.
    const std::set<wxString> buttons(seen.buttons.begin(), seen.buttons.end());
    const std::set<wxString> expected =
        question ? std::set<wxString>{wx("是"), wx("否")} : std::set<wxString>{wx("确定")};
    EXPECT_EQ(buttons, expected);
    EXPECT_NEAR(seen.centre.x, middle.x, 2);
    EXPECT_NEAR(seen.centre.y, middle.y, 2);
    EXPECT_EQ(result, !question) << "否 is no";
  }
}

// The toolkit's own dialogs (a long export's progress) speak Chinese: its
// catalogue is found where the program looks for it.
TEST(ToolkitTexts, AreChinese) {
  EXPECT_EQ(wxGetTranslation("Elapsed time:"), wx("已用时间："));
  EXPECT_EQ(wxGetTranslation("Cancel"), wx("取消"));
}

}  // namespace
}  // namespace gleaner::testing
