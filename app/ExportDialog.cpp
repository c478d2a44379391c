#include "app/ExportDialog.h"

#include <wx/radiobut.h>
#include <wx/stattext.h>

#include "app/TemplateBuilder.h"
#include "res/ControlIds.h"

namespace gleaner {

ExportDialog::ExportDialog(wxWindow* parent) {
  const res::DialogTemplate& t = res::exportDialogTemplate();
  Create(parent, t.id, wxString::FromUTF8(t.caption), wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  SetClientSize(TemplateBuilder::applyFont(*this, t));
  TemplateBuilder::build(*this, t);
  joinSellersNote();
  setChoice(ExportChoice::Everything);
  // Buttons 1 and 2 are the template's OK and cancel.
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, 1);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_CANCEL); }, 2);
  SetEscapeId(2);
  CentreOnParent();
}

void ExportDialog::joinSellersNote() {
  // The note is the template's one static text. Its template place leaves a
  // gap wherever the face standing in for the template's font runs narrower
  // than planned, so it moves up against the end of the choice's text. The
  // choice itself keeps its template size, so its natural width is measured
  // on a stand-alone twin.
  wxWindow* sellers = FindWindow(ids::kExportSellers);
  if (sellers == nullptr) return;
  auto* twin = new wxRadioButton(this, wxID_ANY, sellers->GetLabel(), wxDefaultPosition, wxDefaultSize, wxRB_SINGLE);
  const int textEnd = sellers->GetPosition().x + twin->GetBestSize().x;
  delete twin;
  for (wxWindow* child : GetChildren()) {
    if (dynamic_cast<wxStaticText*>(child) != nullptr) child->Move(textEnd, child->GetPosition().y);
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
