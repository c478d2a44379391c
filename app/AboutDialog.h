// The about box (template 100): icon, version text and an OK button.
#pragma once

#include <wx/dialog.h>

namespace gleaner {

class AboutDialog : public wxDialog {
 public:
  explicit AboutDialog(wxWindow* parent);
};

}  // namespace gleaner
