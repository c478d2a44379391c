#include "app/TemplatePage.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textentry.h>

#include <algorithm>

#include "app/TemplateBuilder.h"
#include "res/AppTexts.h"
#include "text/GbkConvert.h"

namespace gleaner {

TemplatePage::TemplatePage(const res::DialogTemplate& dialogTemplate) : template_(dialogTemplate) {}

bool TemplatePage::createWindow(wxWindow* parent) {
  if (!Create(parent, template_.id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxBORDER_NONE)) return false;
  SetSize(TemplateBuilder::applyFont(*this, template_));
  TemplateBuilder::build(*this, template_);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    fitGroupBoxes();
    event.Skip();
  });
  start();
  return true;
}

void TemplatePage::fitGroupBoxes() {
  const int room = GetClientSize().x;
  std::size_t i = 0;
  for (wxWindow* child : GetChildren()) {
    if (i >= template_.controls.size()) break;
    const res::ControlTemplate& c = template_.controls[i++];
    if (c.kind != res::ControlKind::GroupBox) continue;
    const wxSize planned = ConvertDialogToPixels(wxSize(c.width, c.height));
    const int left = child->GetPosition().x;
    child->SetSize(std::max(0, std::min(planned.x, room - 2 * left)), planned.y);
  }
}

std::string TemplatePage::controlUtf8(int controlId) const {
  if (!hasWindow()) return {};
  const wxWindow* control = FindWindow(controlId);
  if (control == nullptr) return {};
  if (const auto* entry = dynamic_cast<const wxTextEntry*>(control)) return entry->GetValue().utf8_string();
  return control->GetLabel().utf8_string();
}

std::string TemplatePage::controlText(int controlId) const { return gbk::fromUtf8(controlUtf8(controlId)); }

gbk::GbkConversion TemplatePage::controlTextLeavingOut(int controlId) const {
  return gbk::fromUtf8LeavingOut(controlUtf8(controlId));
}

void TemplatePage::setControlText(int controlId, const std::string& gbk) {
  if (!hasWindow()) return;
  wxWindow* control = FindWindow(controlId);
  if (control == nullptr) return;
  const wxString text = wxString::FromUTF8(gbk::toUtf8(gbk));
  if (auto* entry = dynamic_cast<wxTextEntry*>(control)) {
    entry->ChangeValue(text);
  } else {
    control->SetLabel(text);
  }
}

void TemplatePage::explainPageCount(int controlId) {
  auto* box = dynamic_cast<wxTextEntry*>(FindWindow(controlId));
  if (box == nullptr) return;
  box->SetHint(wxString::FromUTF8(res::kPageCountHint));
  FindWindow(controlId)->SetToolTip(wxString::FromUTF8(res::kPageCountTip));
}

CheckState TemplatePage::checkState(int controlId) const {
  if (!hasWindow()) return CheckState::Unchecked;
  const wxWindow* control = FindWindow(controlId);
  if (const auto* radio = dynamic_cast<const wxRadioButton*>(control)) {
    return radio->GetValue() ? CheckState::Checked : CheckState::Unchecked;
  }
  if (const auto* check = dynamic_cast<const wxCheckBox*>(control)) {
    switch (check->Get3StateValue()) {
      case wxCHK_CHECKED: return CheckState::Checked;
      case wxCHK_UNDETERMINED: return CheckState::Indeterminate;
      case wxCHK_UNCHECKED: break;
    }
  }
  return CheckState::Unchecked;
}

void TemplatePage::setChecked(int controlId, bool checked) {
  if (!hasWindow()) return;
  wxWindow* control = FindWindow(controlId);
  if (auto* radio = dynamic_cast<wxRadioButton*>(control)) {
    radio->SetValue(checked);
  } else if (auto* check = dynamic_cast<wxCheckBox*>(control)) {
    check->SetValue(checked);
  }
}

}  // namespace gleaner
