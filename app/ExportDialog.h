// The export options (template 136): everything collected, or the seller
// information without duplicate records.
#pragma once

#include <wx/dialog.h>

#include "export/ExportChoice.h"

namespace gleaner {

class ExportDialog : public wxDialog {
 public:
  explicit ExportDialog(wxWindow* parent);

  ExportChoice choice() const;
  void setChoice(ExportChoice choice);

 private:
  // Widens a choice whose text would be cut.
  void showWholeChoices();
};

}  // namespace gleaner
