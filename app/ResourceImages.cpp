#include "app/ResourceImages.h"

#include <wx/icon.h>
#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>
#endif

#include "res/ControlIds.h"
#include "res/art/gleaner_icon16.xpm"
#include "res/art/gleaner_icon32.xpm"
#include "res/art/gleaner_link.xpm"

namespace gleaner {

wxIconBundle ResourceImages::mainIcons() {
#ifdef __WXMSW__
  // The program's icon resource (res/art/gleaner.ico) holds every size that
  // Windows asks for, 150 % and 200 % displays included. Binaries without it
  // (the tests) take the drawings below.
  if (::FindResourceW(::GetModuleHandleW(nullptr), L"GLEANER_ICON", MAKEINTRESOURCEW(14)) != nullptr) {  // RT_GROUP_ICON
    return wxIconBundle("GLEANER_ICON", ::GetModuleHandleW(nullptr));
  }
#endif
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
