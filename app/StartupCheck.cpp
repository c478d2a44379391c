#include "app/StartupCheck.h"

#include <stdexcept>

#include "app/UserMessage.h"
#include "extract/Sites.h"
#include "net/InternetError.h"
#include "res/AppTexts.h"
#include "rules/RuleServerChoice.h"

namespace gleaner {
std::optional<wxString> StartupCheck::internetProblem(const std::exception_ptr& failure) {
  if (!failure) return std::nullopt;
  try {
    std::rethrow_exception(failure);
  } catch (const ConnectToError& e) {
    return userMessage(res::kConnectToRejected, res::kConnectToRejectedAdvice, wxString::FromUTF8(e.what()));
  } catch (const std::exception& e) {
    return userMessage(res::kInternetSetupFailed, res::kInternetSetupFailedAdvice, wxString::FromUTF8(e.what()));
  }
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
