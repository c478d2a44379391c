#include "app/CollectorApp.h"

#include <wx/filename.h>
#include <wx/log.h>

#include <cstdlib>
#include <exception>

#include "app/MainWindowSession.h"
#include "app/MessageBoxes.h"
#include "app/PathText.h"
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
  return "gleaner.lock";
#endif
}

wxString CollectorApp::instanceFolder() {
#ifdef __WXMSW__
  return {};  // a named mutex, in no folder
#else
  // The session's own runtime folder, else the data folder (made if need be).
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
    return wxString::FromUTF8(runtime);
  }
  const wxString data = wxNameOf(defaultStorePath().parent_path());
  wxFileName::Mkdir(data, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  return data;
#endif
}

bool CollectorApp::OnInit() {
  useChineseForToolkitTexts();
  instance_ = std::make_unique<wxSingleInstanceChecker>();
  bool anotherRunning = false;
  {
    // If the check itself fails (no writable folder, say), go on as if no
    // other copy ran, without the library's own error box.
    wxLogNull quiet;
    anotherRunning = instance_->Create(instanceName(), instanceFolder()) && instance_->IsAnotherRunning();
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
