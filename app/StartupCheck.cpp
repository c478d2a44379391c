#include "app/StartupCheck.h"

#include <cstdlib>
#include <stdexcept>

#include "app/UserMessage.h"
#include "extract/Sites.h"
#include "net/ConnectTo.h"
#include "res/AppTexts.h"
#include "rules/RuleServerChoice.h"

namespace gleaner {
namespace {

bool connectToRejected() {
  const char* list = std::getenv("GLEANER_CONNECT_TO");
  if (list == nullptr) return false;
  try {
    ConnectTo::parse(list);
    return false;
  } catch (const std::exception&) {
    return true;
  }
}

}  // namespace

std::optional<wxString> StartupCheck::internetProblem(const std::string& internetError) {
  if (internetError.empty()) return std::nullopt;
  const wxString detail = wxString::FromUTF8(internetError);
  if (connectToRejected()) return userMessage(res::kConnectToRejected, res::kConnectToRejectedAdvice, detail);
  return userMessage(res::kInternetSetupFailed, res::kInternetSetupFailedAdvice, detail);
}

std::optional<wxString> StartupCheck::chooseRuleServer(BuiltinRuleServer& builtIn, Sites& sites) {
  try {
    sites.ruleServer = gleaner::chooseRuleServer(builtIn);
    return std::nullopt;
  } catch (const std::invalid_argument& e) {
    return userMessage(res::kRuleServerRejected, res::kRuleServerRejectedAdvice, wxString::FromUTF8(e.what()));
  } catch (const std::exception& e) {
    return userMessage(res::kBuiltinRulesFailed, res::kBuiltinRulesFailedAdvice, wxString::FromUTF8(e.what()));
  }
}

}  // namespace gleaner
