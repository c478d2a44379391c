#include "app/CollectorApp.h"

#include <wx/log.h>

#include <exception>

#include "app/MainWindowSession.h"
#include "app/MessageBoxes.h"
#include "app/StartupCheck.h"
#include "app/StoreLocation.h"
#include "app/ToolkitLanguage.h"
#include "net/InternetClient.h"
#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner {

std::exception_ptr CollectorApp::internetFailure_;

void CollectorApp::prepareInternet() {
  try {
    InternetClient::initialize();
  } catch (...) {
    internetFailure_ = std::current_exception();
  }
}

wxString CollectorApp::instanceName() {
#ifdef __WXMSW__
  return "vendrake";
#else
  return ".vendrake";  // a lock file in the home directory
#endif
}

bool CollectorApp::OnInit() {
  useChineseForToolkitTexts();
  instance_ = std::make_unique<wxSingleInstanceChecker>();
  bool anotherRunning = false;
  {
    // If the check itself fails (no writable home, say), go on as if no
    // other copy ran, without the library's own error box.
    wxLogNull quiet;
    anotherRunning = instance_->Create(instanceName()) && instance_->IsAnotherRunning();
  }
  if (anotherRunning) {
    instance_.reset();
    tell(wxString::FromUTF8(gbk::toUtf8(literals::kAlreadyRunning)), MessageKind::Information);
    return false;
  }
  std::optional<wxString> problem = StartupCheck::internetProblem(internetFailure_);
  if (!problem) problem = StartupCheck::chooseRuleServer(ruleServer_, sites_);
  if (problem) {
    tell(*problem, MessageKind::Error);
    return false;
  }
  return true;
}

int CollectorApp::OnRun() {
  {
    MainWindowSession session(sites_, defaultStorePath());
    session.runModal();
  }
  return 0;
}

int CollectorApp::OnExit() {
  InternetClient::abortAllTransfers(true);
  ruleServer_.stop();
  instance_.reset();
  return wxApp::OnExit();
}

void CollectorApp::tell(const wxString& text, MessageKind kind) { showMessageBox(nullptr, text, kind); }

}  // namespace gleaner
