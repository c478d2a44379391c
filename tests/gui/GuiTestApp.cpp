// The GUI tests run inside a real wx event loop: the application starts,
// the tests run from the loop's first idle moment, and the loop ends with
// their result. A wx assertion fails the running test instead of opening a
// dialog that nobody would close.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include "app/ToolkitLanguage.h"
#include "net/InternetClient.h"

namespace {

class GuiTestApp : public wxApp {
 public:
  bool OnInit() override {
    SetAppName("gleaner");
    gleaner::useChineseForToolkitTexts();  // as the program does
    wxSetAssertHandler(&GuiTestApp::failOnAssert);
    CallAfter([this] {
      result_ = RUN_ALL_TESTS();
      ExitMainLoop();
    });
    return true;
  }
  int OnExit() override { return result_; }
  int result() const { return result_; }

 private:
  static void failOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                           const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_string().c_str(), line)
        << "wx assertion " << cond.utf8_string() << " in " << func.utf8_string() << ": " << msg.utf8_string();
  }

  int result_ = 1;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  gleaner::InternetClient::initialize();
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "no display: the GUI tests run under xvfb-run\n");
    return 1;
  }
  int result = 1;
  if (wxTheApp->CallOnInit()) {
    wxTheApp->OnRun();
    result = static_cast<GuiTestApp*>(wxTheApp)->result();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return result;
}
