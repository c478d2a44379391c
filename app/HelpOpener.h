// Opens the program's pages (the user guide and its contact section) in the
// default browser, and tells the user what to do when there is no guide to
// open or no browser to open it in.
#pragma once

#include <wx/string.h>

#include <functional>
#include <optional>

#include "app/HelpLocation.h"

namespace gleaner {

class HelpOpener {
 public:
  // Opens an address; false when it could not.
  using Launcher = std::function<bool(const wxString& address)>;
  // Shows a message box.
  using Teller = std::function<void(const wxString& text)>;

  HelpOpener(HelpLocation location, Teller tell);

  // Empty: the default browser, without the library's own error box.
  void setLauncher(Launcher launcher);
  void setLocation(HelpLocation location) { location_ = std::move(location); }

  void openHelp();
  void openContact();

 private:
  void open(const std::optional<wxString>& address);

  HelpLocation location_;
  Teller tell_;
  Launcher launch_;
};

}  // namespace gleaner
