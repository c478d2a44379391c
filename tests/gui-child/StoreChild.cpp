// A desktop program for the store's kill and restore tests: the main window
// with a result store, driven from its command line instead of by a user,
// telling on standard output what it asks and how many rows its list holds.
//
//   gleaner_store_child --store FILE --rules HOST:PORT --connect-to LIST
//                       [--collect-item URL] [--answer yes|no]
//
// After an unclean end, yes restores the list (a cut-off run is not gone on with).
//
// Lines: "asked: <question>", "list N" (after the start and any restore),
// "rows N" whenever the list's row count changes during a run, "ended".
#include <wx/app.h>
#include <wx/init.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/MainDialog.h"
#include "app/MainWindowSession.h"
#include "app/TabPageHost.h"
#include "app/TemplatePage.h"
#include "net/ConnectTo.h"
#include "net/InternetClient.h"
#include "res/ControlIds.h"
#include "text/PathText.h"

namespace {

using namespace gleaner;

std::map<std::string, std::string> options;

void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

class StoreChildApp : public wxApp {
 public:
  bool OnInit() override {
    SetAppName("gleaner");
    CallAfter([this] {
      run();
      ExitMainLoop();
    });
    return true;
  }

 private:
  void run() {
    InternetClient::setConnectTo(ConnectTo::parse(options["--connect-to"]));
    Sites sites;
    sites.ruleServer = options["--rules"];
    MainWindowSession session(sites, pathFromUtf8(options["--store"]));
    MainDialog& window = session.dialog();
    bool ended = false;
    window.setMessagePresenter([&](const wxString&) { ended = true; });
    window.setQuestionPresenter([](const wxString& text) {
      say("asked: " + text.utf8_string());
      return options["--answer"] == "yes";
    });
    // After a cut-off run: go on with it, restore its list only (yes), or neither.
    window.setChoicePresenter([](wxString text, const std::vector<wxString>& answers) {
      text.Replace("\n", " ");
      say("asked: " + text.utf8_string());
      return options["--answer"] == "yes" ? 1 : static_cast<int>(answers.size()) - 1;
    });
    window.Show();
    window.offerRestore();
    say("list " + std::to_string(window.model().rowCount()));
    if (!options["--collect-item"].empty()) {
      window.tabs().SetSelection(1);
      window.page(TabPage::ItemUrl).setControlText(ids::kItemAddress, options["--collect-item"]);
      window.collect();
      std::size_t shown = 0;
      const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(2);
      while (!ended && std::chrono::steady_clock::now() < until) {
        wxTheApp->Yield(true);
        const std::size_t rows = window.model().rowCount();
        if (rows != shown) say("rows " + std::to_string(shown = rows));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    session.shutDown();
    say("ended");
  }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(StoreChildApp);

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
  InternetClient::initialize();
  if (!wxEntryStart(argc, argv)) return 1;
  if (wxTheApp->CallOnInit()) {
    wxTheApp->OnRun();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return 0;
}
