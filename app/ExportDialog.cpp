#include "app/ExportDialog.h"

#include <wx/radiobut.h>

#include <algorithm>

#include "app/TemplateBuilder.h"
#include "res/ControlIds.h"

namespace gleaner {

ExportDialog::ExportDialog(wxWindow* parent) {
  const res::DialogTemplate& t = res::exportDialogTemplate();
  Create(parent, t.id, wxString::FromUTF8(t.caption), wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  SetClientSize(TemplateBuilder::applyFont(*this, t));
  TemplateBuilder::build(*this, t);
  showWholeChoices();
  setChoice(ExportChoice::Everything);
  // Buttons 1 and 2 are the template's OK and cancel.
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, 1);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_CANCEL); }, 2);
  SetEscapeId(2);
  CentreOnParent();
}

void ExportDialog::showWholeChoices() {
  // A face that runs wider than the template's font would cut a choice's
  // text: the choice then takes its text's width, up to the buttons.
  const int room = FindWindow(1)->GetPosition().x;
  for (int id : {ids::kExportAll, ids::kExportSellers}) {
    wxWindow* choice = FindWindow(id);
    const int wanted = std::min(choice->GetBestSize().x, room - choice->GetPosition().x);
    if (wanted > choice->GetSize().x) choice->SetSize(wanted, choice->GetSize().y);
  }
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
