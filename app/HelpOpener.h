// Opens the program's pages (the user guide and its contact section) in the
// default browser, and tells the user what to do when there is no guide to
// open or no browser to open it in. A page with a section that cannot be
// opened is tried once more without it, at its top.
#pragma once

#include <wx/string.h>

#include <functional>
#include <memory>
#include <optional>

#include "app/HelpLocation.h"

namespace gleaner {

class HelpOpener {
 public:
  // Starts opening an address; calls done once it knows whether that
  // worked (at once or later, on the user-interface thread), or never when
  // it cannot tell.
  using Launcher = std::function<void(const wxString& address, std::function<void(bool opened)> done)>;
  // Shows a message box.
  using Teller = std::function<void(const wxString& text)>;

  HelpOpener(HelpLocation location, Teller tell);
  ~HelpOpener();

  // Empty: the default browser.
  void setLauncher(Launcher launcher);
  void setLocation(HelpLocation location) { location_ = std::move(location); }

  void openHelp();
  void openContact();

 private:
  void open(const std::optional<PageAddress>& page);
  void tellNotOpened(const PageAddress& page);

  HelpLocation location_;
  Teller tell_;
  Launcher launch_;
  // A verdict that comes after this opener has gone is not told.
  std::shared_ptr<HelpOpener*> self_;
};

}  // namespace gleaner
