#include "app/ResourceImages.h"

#include <wx/icon.h>

#include "res/ControlIds.h"
#include "res/art/gleaner_icon16.xpm"
#include "res/art/gleaner_icon32.xpm"
#include "res/art/gleaner_link.xpm"

namespace gleaner {

wxIconBundle ResourceImages::mainIcons() {
  wxIconBundle bundle;
  bundle.AddIcon(wxIcon(gleaner_icon16_xpm));
  bundle.AddIcon(wxIcon(gleaner_icon32_xpm));
  return bundle;
}

wxBitmap ResourceImages::mainIcon() { return wxBitmap(gleaner_icon32_xpm); }

wxBitmap ResourceImages::linkBitmap() { return wxBitmap(gleaner_link_xpm); }

wxBitmap ResourceImages::bitmap(int resourceId) {
  switch (resourceId) {
    case ids::kMainIcon: return mainIcon();
    case ids::kLinkBitmap: return linkBitmap();
    default: return wxBitmap();
  }
}

}  // namespace gleaner
