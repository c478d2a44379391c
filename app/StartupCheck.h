// What must hold before the main window opens: the internet client set up
// (with a readable GLEANER_CONNECT_TO) and a rule server chosen. A failure
// becomes the message that tells the user what went wrong and what to do.
#pragma once

#include <wx/string.h>

#include <exception>
#include <optional>
#include <string>

namespace gleaner {

class BuiltinRuleServer;
struct Sites;

class StartupCheck {
 public:
  // failure: what the internet client's set-up threw, null when it
  // succeeded. The message when it failed.
  static std::optional<wxString> internetProblem(const std::exception_ptr& failure);

  // Chooses the rule server into sites (GLEANER_RULE_SERVER, else the
  // built-in one, started); the message when that fails.
  static std::optional<wxString> chooseRuleServer(BuiltinRuleServer& builtIn, Sites& sites);
};

}  // namespace gleaner
