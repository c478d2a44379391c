#include "app/StoreLocation.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

#include "app/PathText.h"

namespace gleaner {

std::filesystem::path defaultStorePath() {
#ifdef __WXMSW__
  // %APPDATA%\gleaner
  const wxString folder = wxStandardPaths::Get().GetUserDataDir();
#else
  // wx 3.2 names ~/.gleaner here even with its XDG layout; the data folder
  // of this platform is ~/.local/share/gleaner.
  const wxString app = wxTheApp != nullptr ? wxTheApp->GetAppName() : wxString("gleaner");
  const wxString folder = wxFileName::GetHomeDir() + "/.local/share/" + app;
#endif
  return pathOf(folder) / "results.sqlite";
}

}  // namespace gleaner
