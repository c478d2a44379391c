#include "app/AnchoredLayout.h"

#include <wx/window.h>

namespace gleaner {

AnchoredLayout::AnchoredLayout(wxWindow& window, const res::DialogTemplate& t) : window_(window) {
  opening_ = window.ConvertDialogToPixels(wxSize(t.width, t.height));
  minimum_ = window.ConvertDialogToPixels(wxSize(t.minWidth > 0 ? t.minWidth : t.width,
                                                 t.minHeight > 0 ? t.minHeight : t.height));
  std::size_t i = 0;
  for (wxWindow* child : window.GetChildren()) {
    if (i >= t.controls.size()) break;
    const unsigned anchors = t.controls[i++].anchors;
    if (anchors != 0) placed_.push_back({child, child->GetRect(), anchors});
  }
}

void AnchoredLayout::apply() {
  const wxSize grown = window_.GetClientSize() - opening_;
  for (const Placed& p : placed_) {
    wxRect r = p.atOpening;
    if (p.anchors & res::kFollowRight) r.x += grown.x;
    if (p.anchors & res::kFollowBottom) r.y += grown.y;
    if (p.anchors & res::kStretchRight) r.width = std::max(0, r.width + grown.x);
    if (p.anchors & res::kStretchBottom) r.height = std::max(0, r.height + grown.y);
    if (r != p.control->GetRect()) p.control->SetSize(r);
  }
}

}  // namespace gleaner
