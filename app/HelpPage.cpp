#include "app/HelpPage.h"

#include <wx/button.h>

#include "res/AppTexts.h"
#include "res/ControlIds.h"

namespace gleaner {

HelpPage::HelpPage() : TemplatePage(res::helpPageTemplate()) {}

void HelpPage::start() {
  Bind(
      wxEVT_BUTTON,
      [this](wxCommandEvent&) {
        if (openAddress) openAddress(wxString::FromUTF8(res::kHelpPageAddress));
      },
      ids::kHelpButton);
}

}  // namespace gleaner
