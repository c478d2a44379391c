// Builds a window's controls from its dialog template: numeric ids, texts,
// and geometry in dialog units converted with the window's own font.
// Hidden controls are created hidden and nothing here ever shows them.
#pragma once

#include <wx/window.h>

#include <functional>

#include "res/DialogTemplates.h"

namespace gleaner {

class TemplateBuilder {
 public:
  // Makes the controls whose kind needs a class of the caller's (tab control,
  // list view, a notifying picture); returns nullptr to leave it to the builder.
  using CustomMaker =
      std::function<wxWindow*(wxWindow* parent, const res::ControlTemplate&, const wxPoint&, const wxSize&)>;

  // The template's font ("宋体" at its point size; fontconfig supplies a CJK
  // face where that one is missing).
  static wxFont templateFont(const res::DialogTemplate& dialog);

  // Sets the template font on window and returns the template's size in
  // pixels for that font.
  static wxSize applyFont(wxWindow& window, const res::DialogTemplate& dialog);

  // Creates every control of the template on parent, in template order.
  static void build(wxWindow& parent, const res::DialogTemplate& dialog, const CustomMaker& custom = {});

  // Creates one control. The builder knows every kind except the tab control
  // and the list view.
  static wxWindow* buildControl(wxWindow& parent, const res::ControlTemplate& control, const CustomMaker& custom = {});
};

}  // namespace gleaner
