#include "app/LinkPicture.h"

#include <wx/dcclient.h>
#include <wx/image.h>

namespace gleaner {

LinkPicture::LinkPicture(wxWindow* parent, int id, const wxBitmap& bitmap, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE), drawing_(bitmap) {
  scaleToScreen();
  Bind(wxEVT_DPI_CHANGED, [this](wxDPIChangedEvent& event) {
    scaleToScreen();
    Refresh();
    event.Skip();
  });
  SetCursor(wxCursor(wxCURSOR_HAND));
  SetBackgroundStyle(wxBG_STYLE_SYSTEM);
  Bind(wxEVT_PAINT, &LinkPicture::onPaint, this);
  Bind(wxEVT_LEFT_UP, &LinkPicture::onLeftUp, this);
}

void LinkPicture::scaleToScreen() {
  bitmap_ = drawing_;
  if (!drawing_.IsOk()) return;
  const wxSize wanted = FromDIP(drawing_.GetSize());
  if (wanted == drawing_.GetSize()) return;
  bitmap_ = wxBitmap(drawing_.ConvertToImage().Scale(wanted.x, wanted.y, wxIMAGE_QUALITY_HIGH));
}

void LinkPicture::onPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  if (!bitmap_.IsOk()) return;
  const wxSize area = GetClientSize();
  dc.DrawBitmap(bitmap_, (area.x - bitmap_.GetWidth()) / 2, (area.y - bitmap_.GetHeight()) / 2);
}

void LinkPicture::onLeftUp(wxMouseEvent& event) {
  // The press grabs the mouse: a release outside the picture is no click.
  if (GetClientRect().Contains(event.GetPosition()) && onClick) onClick();
  event.Skip();
}

}  // namespace gleaner
