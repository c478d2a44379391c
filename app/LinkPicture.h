// A picture that acts as a link: it shows its bitmap (drawn for 96 DPI,
// scaled to the screen's) centred in its rectangle, shows the hand cursor
// over the whole rectangle (edges included, since the cursor belongs to the
// picture's own window), and calls onClick when it is clicked.
#pragma once

#include <wx/bitmap.h>
#include <wx/window.h>

#include <functional>

namespace gleaner {

class LinkPicture : public wxWindow {
 public:
  LinkPicture(wxWindow* parent, int id, const wxBitmap& bitmap, const wxPoint& pos, const wxSize& size);

  std::function<void()> onClick;

  const wxBitmap& bitmap() const { return bitmap_; }

 private:
  void scaleToScreen();
  void onPaint(wxPaintEvent& event);
  void onLeftUp(wxMouseEvent& event);

  wxBitmap drawing_;  // as drawn, for 96 DPI
  wxBitmap bitmap_;   // as shown
};

}  // namespace gleaner
