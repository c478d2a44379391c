// Keeps a window's controls where its template's anchors say when the
// window is resized: the template's arrangement is the one at the window's
// opening size, and each control moves with the right or bottom edge, or
// stretches to follow it, by as much as the window has grown or shrunk.
#pragma once

#include <wx/gdicmn.h>

#include <vector>

#include "res/DialogTemplates.h"

class wxWindow;

namespace gleaner {

class AnchoredLayout {
 public:
  // Takes the controls of window, built from dialogTemplate in its order, as
  // they stand now, at the client size the template gives.
  AnchoredLayout(wxWindow& window, const res::DialogTemplate& dialogTemplate);

  // Places every control for the window's present client size.
  void apply();

  // The window's client size at the template's own size, and the smallest
  // one its minimum allows.
  wxSize openingClientSize() const { return opening_; }
  wxSize minimumClientSize() const { return minimum_; }

 private:
  struct Placed {
    wxWindow* control;
    wxRect atOpening;
    unsigned anchors;
  };

  wxWindow& window_;
  wxSize opening_;
  wxSize minimum_;
  std::vector<Placed> placed_;
};

}  // namespace gleaner
