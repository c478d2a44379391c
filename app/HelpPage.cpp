#include "app/HelpPage.h"

#include <wx/button.h>

#include "res/ControlIds.h"

namespace gleaner {

HelpPage::HelpPage() : TemplatePage(res::helpPageTemplate()) {}

void HelpPage::start() {
  Bind(
      wxEVT_BUTTON,
      [this](wxCommandEvent&) {
        if (onOpenHelp) onOpenHelp();
      },
      ids::kHelpButton);
}

}  // namespace gleaner
