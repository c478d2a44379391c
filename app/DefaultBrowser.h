// Opens an address in the user's default browser.
//
// On Windows a file address with a section ("file:///C:/.../index.html#contact")
// needs care: wxWidgets hands the shell a plain file name made of it, and the
// shell opens files without a section. The user's web browser (the program
// registered for http addresses) is started with the whole address instead.
#pragma once

#include <wx/string.h>

#include <optional>

namespace gleaner {

class DefaultBrowser {
 public:
  // False when nothing could be started.
  static bool open(const wxString& address);

#ifdef __WXMSW__
  // The command line that opens a file address with its section in the
  // user's web browser; nothing for other addresses or when no browser is
  // registered.
  static std::optional<wxString> sectionCommand(const wxString& address);
#endif
};

}  // namespace gleaner
