// Saves a picture of the main window after a sample run, for the project's
// documentation. Only when GLEANER_SCREENSHOT_PATH names the file to write.
#include <gtest/gtest.h>
#include <wx/dcscreen.h>
#include <wx/event.h>  // wxMSW's textentry.h needs it first
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/textentry.h>

#include <cstdlib>

#include "app/TemplatePage.h"
#include "res/ControlIds.h"
#include "SampleRunFixture.h"

namespace gleaner::testing {
namespace {

using Screenshot = SampleRunFixture;

TEST_F(Screenshot, MainWindowAfterASampleRun) {
  const char* path = std::getenv("GLEANER_SCREENSHOT_PATH");
  if (path == nullptr || *path == '\0') GTEST_SKIP() << "GLEANER_SCREENSHOT_PATH is not set";
  dynamic_cast<wxTextEntry*>(window().page(TabPage::Search).FindWindow(ids::kSearchPages))->SetValue("1");
  window().Move(0, 0);
  ASSERT_TRUE(collectAndWait(120000));
  messages.clear();
  pumpFor(500);
  window().Raise();
  window().Update();
  pumpFor(300);

  // The client area as it stands on the screen (no window manager draws a frame here).
  const wxRect area(window().ClientToScreen(wxPoint(0, 0)), window().GetClientSize());
  wxBitmap picture(area.GetSize(), 24);
  {
    wxScreenDC screen;
    wxMemoryDC memory(picture);
    memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
  }
  wxImage::AddHandler(new wxPNGHandler);
  ASSERT_TRUE(picture.ConvertToImage().SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG));
}

}  // namespace
}  // namespace gleaner::testing
