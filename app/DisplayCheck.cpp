#include "app/DisplayCheck.h"

#include "res/NoDisplayAdvice.h"

#if defined(__linux__) || defined(__FreeBSD__)
#include <X11/Xlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#endif

namespace gleaner {

#if defined(__linux__) || defined(__FreeBSD__)
namespace {

// A relative WAYLAND_DISPLAY lives in XDG_RUNTIME_DIR; an absolute one is the socket itself.
bool waylandReachable() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (name == nullptr || *name == '\0') return false;
  std::string path = name;
  if (path.front() != '/') {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') return false;
    path = std::string(runtime) + "/" + path;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

// Opening the display is the check the toolkit makes itself: server
// reachable and our authorisation accepted.
bool x11Reachable() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return false;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XCloseDisplay(display);
  return true;
}

}  // namespace

bool DisplayCheck::displayAvailable() { return waylandReachable() || x11Reachable(); }
#else
bool DisplayCheck::displayAvailable() { return true; }
#endif

const char* DisplayCheck::advice() { return res::kNoDisplayAdvice; }

}  // namespace gleaner
