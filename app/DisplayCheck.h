// Whether the window system can be reached, asked before the toolkit starts:
// without a display the toolkit only says that it cannot initialise, so the
// program gives the user its own advice instead. Only X11 and Wayland
// sessions need the check; on other systems there is always a display.
#pragma once

namespace gleaner {

class DisplayCheck {
 public:
  // True when WAYLAND_DISPLAY names a compositor socket that accepts a
  // connection, or DISPLAY names an X server that accepts us.
  static bool displayAvailable();

  // The short advice (Chinese, then English, UTF-8) for a start without one.
  static const char* advice();
};

}  // namespace gleaner
