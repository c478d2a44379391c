#include "app/AboutDialog.h"

#include "app/TemplateBuilder.h"

namespace gleaner {

AboutDialog::AboutDialog(wxWindow* parent) {
  const res::DialogTemplate& t = res::aboutDialogTemplate();
  Create(parent, t.id, wxString::FromUTF8(t.caption), wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  SetClientSize(TemplateBuilder::applyFont(*this, t));
  TemplateBuilder::build(*this, t);
  // Button 1 is the template's OK.
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, 1);
  // Escape and the caption's close button close the box as its button does.
  SetEscapeId(1);
  CentreOnParent();
}

}  // namespace gleaner
