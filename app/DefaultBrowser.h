// Opens an address in the user's default browser, and says whether that
// worked: at once when nothing could be started, or when the program that
// opens it (xdg-open here, the browser on Windows) ends with a failure
// status soon after it started.
//
// On Windows a file address with a section ("file:///C:/.../index.html#contact")
// needs care: the shell opens files without a section, so the user's web
// browser (the program registered for http addresses) is started with the
// whole address instead.
#pragma once

#include <wx/string.h>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace gleaner {

class DefaultBrowser {
 public:
  // Called once: false when the address could not be opened. Not called
  // when the opener is still running after kVerdictTime: a browser that
  // stays open has shown the page.
  using Done = std::function<void(bool opened)>;

  static constexpr std::chrono::seconds kVerdictTime{30};

  static void open(const wxString& address, Done done);

  // Runs a program with its arguments (or a whole command line) and reports
  // its verdict as open() does.
  static void launch(const std::vector<wxString>& arguments, Done done);
  static void launch(const wxString& commandLine, Done done);

#ifdef __WXMSW__
  // The command line that opens a file address with its section in the
  // user's web browser; nothing for other addresses or when no browser is
  // registered.
  static std::optional<wxString> sectionCommand(const wxString& address);
#endif
};

}  // namespace gleaner
