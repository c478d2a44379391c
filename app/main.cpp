// The desktop program's entry: without a display it says what to do instead
// of starting; otherwise the internet client is set up before the window
// system (and any thread) starts.
#include <wx/app.h>

#include <cstdio>

#include "app/CollectorApp.h"
#include "app/DisplayCheck.h"

wxIMPLEMENT_APP_NO_MAIN(gleaner::CollectorApp);

int main(int argc, char** argv) {
  if (!gleaner::DisplayCheck::displayAvailable()) {
    std::fputs(gleaner::DisplayCheck::advice(), stderr);
    return 1;
  }
  gleaner::CollectorApp::prepareInternet();
  return wxEntry(argc, argv);
}
