// Tab page 132: the button that opens the program's help page.
#pragma once

#include <functional>

#include <wx/string.h>

#include "app/TemplatePage.h"

namespace gleaner {

class HelpPage : public TemplatePage {
 public:
  HelpPage();

  // Opens an address in the default browser; the main window supplies it.
  std::function<void(const wxString&)> openAddress;

 protected:
  void start() override;
};

}  // namespace gleaner
