#include "app/ExportDialog.h"

#include <wx/radiobut.h>

#include "app/TemplateBuilder.h"
#include "res/ControlIds.h"

namespace gleaner {

ExportDialog::ExportDialog(wxWindow* parent) {
  const res::DialogTemplate& t = res::exportDialogTemplate();
  Create(parent, t.id, wxString::FromUTF8(t.caption), wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  SetClientSize(TemplateBuilder::applyFont(*this, t));
  TemplateBuilder::build(*this, t);
  setChoice(ExportChoice::Everything);
  // Buttons 1 and 2 are the template's OK and cancel.
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, 1);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_CANCEL); }, 2);
  SetEscapeId(2);
  CentreOnParent();
}

ExportChoice ExportDialog::choice() const {
  const auto* sellers = dynamic_cast<const wxRadioButton*>(FindWindow(ids::kExportSellers));
  return sellers != nullptr && sellers->GetValue() ? ExportChoice::Sellers : ExportChoice::Everything;
}

void ExportDialog::setChoice(ExportChoice choice) {
  const int id = choice == ExportChoice::Sellers ? ids::kExportSellers : ids::kExportAll;
  if (auto* radio = dynamic_cast<wxRadioButton*>(FindWindow(id))) radio->SetValue(true);
}

}  // namespace gleaner
