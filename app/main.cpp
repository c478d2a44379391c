// The desktop program's entry: the internet client is set up before the
// window system (and any thread) starts.
#include <wx/app.h>

#include "app/CollectorApp.h"

wxIMPLEMENT_APP_NO_MAIN(gleaner::CollectorApp);

int main(int argc, char** argv) {
  gleaner::CollectorApp::prepareInternet();
  return wxEntry(argc, argv);
}
