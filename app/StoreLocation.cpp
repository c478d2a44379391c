#include "app/StoreLocation.h"

#include <wx/stdpaths.h>

#include "app/PathText.h"

namespace gleaner {

std::filesystem::path defaultStorePath() {
  wxStandardPaths& paths = wxStandardPaths::Get();
  // The XDG layout puts the folder under ~/.local/share, not in the home
  // folder itself; on Windows it changes nothing.
  paths.SetFileLayout(wxStandardPaths::FileLayout_XDG);
  return pathOf(paths.GetUserDataDir()) / "results.sqlite";
}

}  // namespace gleaner
