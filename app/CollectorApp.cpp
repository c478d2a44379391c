#include "app/CollectorApp.h"

#include <wx/msgdlg.h>

#include <exception>

#include "app/MainWindowSession.h"
#include "app/StoreLocation.h"
#include "net/InternetClient.h"
#include "rules/RuleServerChoice.h"
#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner {

std::string CollectorApp::internetError_;

void CollectorApp::prepareInternet() {
  try {
    InternetClient::initialize();
  } catch (const std::exception& e) {
    internetError_ = e.what();
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
  instance_ = std::make_unique<wxSingleInstanceChecker>();
  // If the check itself fails, go on as if no other copy ran.
  if (instance_->Create(instanceName()) && instance_->IsAnotherRunning()) {
    instance_.reset();
    tell(wxString::FromUTF8(gbk::toUtf8(literals::kAlreadyRunning)));
    return false;
  }
  if (!internetError_.empty()) {
    tell(wxString::FromUTF8(internetError_));
    return false;
  }
  try {
    sites_.ruleServer = chooseRuleServer(ruleServer_);
  } catch (const std::exception& e) {
    tell(wxString::FromUTF8(e.what()));
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

void CollectorApp::tell(const wxString& text) {
  wxMessageDialog box(nullptr, text, GetAppName(), wxOK);
  box.ShowModal();
}

}  // namespace gleaner
