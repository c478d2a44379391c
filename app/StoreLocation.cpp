#include "app/StoreLocation.h"

#include <wx/stdpaths.h>

namespace gleaner {

std::filesystem::path defaultStorePath() {
  wxStandardPaths& paths = wxStandardPaths::Get();
  // The XDG layout puts the folder under ~/.local/share, not in the home
  // folder itself; on Windows it changes nothing.
  paths.SetFileLayout(wxStandardPaths::FileLayout_XDG);
#ifdef __WXMSW__
  const std::filesystem::path folder(paths.GetUserDataDir().ToStdWstring());
#else
  const std::filesystem::path folder(paths.GetUserDataDir().utf8_string());
#endif
  return folder / "results.sqlite";
}

}  // namespace gleaner
