// The application: one copy only, the internet client and the rule server
// set up, then the main window run modally; the program ends when it closes.
#pragma once

#include <wx/app.h>
#include <wx/snglinst.h>

#include <exception>
#include <memory>
#include <string>

#include "app/MessageBoxes.h"
#include "extract/Sites.h"
#include "rules/BuiltinRuleServer.h"

namespace gleaner {

class CollectorApp : public wxApp {
 public:
  // Called from main before any thread starts: the internet client's
  // one-time set-up. A failure is remembered and told once the window
  // system is up.
  static void prepareInternet();

  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

  // The name under which the running copy is known: a named mutex on
  // Windows, a lock file here, in instanceFolder().
  static wxString instanceName();
  static wxString instanceFolder();

 private:
  void tell(const wxString& text, MessageKind kind);

  static std::exception_ptr internetFailure_;
  std::unique_ptr<wxSingleInstanceChecker> instance_;
  BuiltinRuleServer ruleServer_;
  Sites sites_;
};

}  // namespace gleaner
