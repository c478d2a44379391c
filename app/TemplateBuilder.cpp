#include "app/TemplateBuilder.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include "app/ResourceImages.h"

namespace gleaner {
namespace {

using res::ControlKind;

wxString utf8(const char* text) { return wxString::FromUTF8(text); }

int windowId(const res::ControlTemplate& c) { return c.id == res::kNoId ? wxID_ANY : c.id; }

long editStyle(unsigned styles) {
  long style = 0;
  if (styles & res::kMultiLine) {
    style |= wxTE_MULTILINE;
    // With both scroll bars the text does not wrap; it scrolls sideways.
    if (styles & res::kScrollBars) style |= wxHSCROLL;
  }
  if (styles & res::kReadOnly) style |= wxTE_READONLY;
  if (!(styles & res::kBorder)) style |= wxBORDER_NONE;
  return style;
}

// Two-step creation, so that a hidden control is never shown, not even for
// a moment.
template <typename T, typename... Args>
T* createControl(const res::ControlTemplate& c, wxWindow& parent, Args&&... args) {
  T* control = new T();
  if (!c.shown) control->Hide();
  control->Create(&parent, windowId(c), std::forward<Args>(args)...);
  return control;
}

}  // namespace

wxFont TemplateBuilder::templateFont(const res::DialogTemplate& dialog) {
  return wxFont(wxFontInfo(dialog.fontPoints).FaceName(utf8(dialog.fontFace)));
}

wxSize TemplateBuilder::applyFont(wxWindow& window, const res::DialogTemplate& dialog) {
  window.SetFont(templateFont(dialog));
  return window.ConvertDialogToPixels(wxSize(dialog.width, dialog.height));
}

void TemplateBuilder::build(wxWindow& parent, const res::DialogTemplate& dialog, const CustomMaker& custom) {
  for (const res::ControlTemplate& control : dialog.controls) buildControl(parent, control, custom);
}

wxWindow* TemplateBuilder::buildControl(wxWindow& parent, const res::ControlTemplate& c, const CustomMaker& custom) {
  const wxPoint pos = parent.ConvertDialogToPixels(wxPoint(c.x, c.y));
  const wxSize size = parent.ConvertDialogToPixels(wxSize(c.width, c.height));
  if (custom) {
    if (wxWindow* made = custom(&parent, c, pos, size)) {
      if (!c.shown) made->Hide();
      return made;
    }
  }
  const wxString text = utf8(c.text);
  switch (c.kind) {
    case ControlKind::PushButton:
      return createControl<wxButton>(c, parent, text, pos, size, 0L);
    case ControlKind::DefaultButton: {
      auto* button = createControl<wxButton>(c, parent, text, pos, size, 0L);
      button->SetDefault();
      return button;
    }
    case ControlKind::StaticText:
      // A label keeps its whole text where the face that stands in for the
      // template's font runs wider; a display that starts empty keeps its box
      // and its one line: a longer text (a run's summary, a rule warning)
      // ends in an ellipsis instead of wrapping out of sight.
      if (text.empty()) {
        return createControl<wxStaticText>(c, parent, text, pos, size, wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
      }
      return createControl<wxStaticText>(c, parent, text, pos, wxSize(-1, size.y), 0L);
    case ControlKind::GroupBox:
      return createControl<wxStaticBox>(c, parent, text, pos, size, 0L);
    case ControlKind::Edit: {
      auto* edit = createControl<wxTextCtrl>(c, parent, text, pos, size, editStyle(c.styles));
      if (c.styles & res::kDigitsOnly) edit->SetValidator(wxTextValidator(wxFILTER_DIGITS));
      return edit;
    }
    case ControlKind::ComboBox:
      // The template's height is the dropped-down list's; closed, the box
      // keeps its natural height.
      return createControl<wxComboBox>(c, parent, text, pos, wxSize(size.x, -1), 0, nullptr, wxCB_DROPDOWN);
    case ControlKind::RadioButton:
      return createControl<wxRadioButton>(c, parent, text, pos, size,
                                          (c.styles & res::kGroupStart) ? wxRB_GROUP : 0L);
    case ControlKind::CheckBox:
      return createControl<wxCheckBox>(c, parent, text, pos, size, 0L);
    case ControlKind::ProgressBar:
      return createControl<wxGauge>(c, parent, 100, pos, size, wxGA_HORIZONTAL);
    case ControlKind::Picture:
      return createControl<wxStaticBitmap>(c, parent, ResourceImages::bitmap(c.imageId), pos, size, 0L);
    case ControlKind::TabControl:
    case ControlKind::ListView:
      break;
  }
  wxFAIL_MSG("this kind of control needs a maker of its own");
  return nullptr;
}

}  // namespace gleaner
