// Saves pictures of the windows, for the project's documentation and for
// checking the layout by eye. Only when told where: GLEANER_SCREENSHOT_PATH
// names the main window's picture after a sample run, GLEANER_SCREEN_PATH a
// picture of the whole screen with the window where it opened, after a
// sample run, GLEANER_LAYOUT_SHOTS a folder for the main window before any
// run (and with a pause held), the export dialog and a question box.
#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/timer.h>
#include <wx/textctrl.h>
#ifdef __WXMSW__
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#endif

#include <cstdlib>

#include "app/BatchDialog.h"
#include "app/ExportDialog.h"
#include "app/SearchPage.h"
#include "app/TabPageHost.h"
#include "app/MessageBoxes.h"
#include "app/TemplatePage.h"
#include "res/AppTexts.h"
#include "res/ControlIds.h"
#include "SampleRunFixture.h"

namespace gleaner::testing {
namespace {

using Screenshot = SampleRunFixture;

std::string setting(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// A part of the screen as it stands. On GTK it is taken from the X server
// itself: a screen device context of the toolkit can hand back what an
// earlier window left there. Windows' screen device context shows the
// screen as it is.
void saveScreenArea(const wxRect& area, const std::string& path) {
#ifdef __WXMSW__
  wxBitmap picture(area.GetSize(), 24);
  {
    wxScreenDC screen;
    wxMemoryDC memory(picture);
    memory.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
  }
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  ASSERT_TRUE(picture.ConvertToImage().SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG)) << path;
#else
  const std::string command = "import -window root -crop " + std::to_string(area.width) + "x" +
                              std::to_string(area.height) + "+" + std::to_string(area.x) + "+" +
                              std::to_string(area.y) + " +repage '" + path + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
#endif
}

// The client area (no window manager draws a frame here).
void saveClientArea(wxWindow& window, const std::string& path) {
  window.Raise();
  window.Update();
  pumpFor(300);
  saveScreenArea(wxRect(window.ClientToScreen(wxPoint(0, 0)), window.GetClientSize()), path);
}

TEST_F(Screenshot, MainWindowAfterASampleRun) {
  const std::string path = setting("GLEANER_SCREENSHOT_PATH");
  if (path.empty()) GTEST_SKIP() << "GLEANER_SCREENSHOT_PATH is not set";
  dynamic_cast<wxTextEntry*>(window().page(TabPage::Search).FindWindow(ids::kSearchPages))->SetValue("1");
  window().Move(0, 0);
  ASSERT_TRUE(collectAndWait(120000));
  messages.clear();
  pumpFor(500);
  saveClientArea(window(), path);
}

// The window as it opens on the screen at hand (a 1366 × 768 one, a
// 1920 × 1080 one at 150 %), after a run whose end sized the columns.
TEST_F(Screenshot, TheWholeScreenAfterASampleRun) {
  const std::string path = setting("GLEANER_SCREEN_PATH");
  if (path.empty()) GTEST_SKIP() << "GLEANER_SCREEN_PATH is not set";
  dynamic_cast<wxTextEntry*>(window().page(TabPage::Search).FindWindow(ids::kSearchPages))->SetValue("1");
  ASSERT_TRUE(collectAndWait(120000));
  messages.clear();
  window().fitListColumns();
  window().Raise();
  window().Update();
  pumpFor(800);
  saveScreenArea(wxDisplay(0u).GetGeometry(), path);
}

TEST_F(Screenshot, MainWindowBeforeAnyRunAndTheExportDialog) {
  const std::string folder = setting("GLEANER_LAYOUT_SHOTS");
  if (folder.empty()) GTEST_SKIP() << "GLEANER_LAYOUT_SHOTS is not set";
  window().Move(0, 0);
  pumpFor(200);
  saveClientArea(window(), folder + "/main-window-start.png");
  window().togglePause();
  saveClientArea(window(), folder + "/main-window-paused.png");
  window().togglePause();
  ExportDialog options(&window());
  window().Hide();
  options.Move(0, 0);
  options.Show();
  pumpFor(500);
  saveClientArea(options, folder + "/export-dialog.png");

  options.Hide();
  window().Show();
  // A question box over the window: its icon, buttons and place.
  wxTimer shooter;
  int ticks = 0;
  int shots = 0;
  shooter.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    for (wxWindow* top : wxTopLevelWindows) {
      auto* box = dynamic_cast<wxDialog*>(top);
      if (box == nullptr || !box->IsModal() || ++ticks < 4) continue;
      shooter.Stop();
      saveScreenArea(window().GetScreenRect(), folder + (shots++ == 0 ? "/question-box.png" : "/resume-box.png"));
      box->EndModal(wxID_NO);
    }
  });
  shooter.Start(150);
  showMessageBox(&window(), wxString::Format(wxString::FromUTF8(res::kRestoreAfterCrash), std::size_t{42}),
                 MessageKind::Question);

  // The batch: the box with a list, each job tab with its 批量… button, a
  // queued batch in the keyword box, and the question after a cut-off run.
  const std::vector<std::string> keywords{gbkOf("核桃"), gbkOf("手机壳"), gbkOf("保温杯")};
  {
    BatchDialog batch(&window(), false, keywords);
    batch.Move(0, 0);
    batch.Show();
    pumpFor(500);
    saveClientArea(batch, folder + "/batch-dialog.png");
  }
  for (int tab : {1, 2}) {
    window().tabs().SetSelection(tab);
    pumpFor(300);
    saveClientArea(window(), folder + "/main-window-tab" + std::to_string(tab) + ".png");
  }
  window().tabs().SetSelection(0);
  static_cast<SearchPage&>(window().page(TabPage::Search)).batch().set(keywords);
  pumpFor(300);
  saveClientArea(window(), folder + "/main-window-batch.png");
  ticks = 0;
  shooter.Start(150);
  showChoiceBox(&window(),
                wxString::FromUTF8("上次采集没有正常结束，已保存 42 条结果。\n要从第2/3个关键词「手机壳」的第3页继续上次的采集吗？"),
                {wxString::FromUTF8("继续上次的采集（从第3页）"), wxString::FromUTF8(res::kResumeRestoreOnly),
                 wxString::FromUTF8(res::kResumeNeither)});
}

}  // namespace
}  // namespace gleaner::testing
