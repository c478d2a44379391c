// The program's pictures: icon 128 (the window and about-box icon) and
// bitmap 135 (the contact link picture, 84 x 83 pixels, 24 bits).
#pragma once

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

namespace gleaner {

class ResourceImages {
 public:
  static wxIconBundle mainIcons();  // 16 and 32 pixels; on Windows every size of the program's icon
  static wxBitmap mainIcon();       // 32 pixels
  static wxBitmap linkBitmap();
  // By resource id (128 or 135); an empty bitmap for any other id.
  static wxBitmap bitmap(int resourceId);
};

}  // namespace gleaner
