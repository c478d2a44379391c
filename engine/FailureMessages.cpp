#include "engine/FailureMessages.h"

#include "net/UrlSplit.h"
#include "text/Literals.h"
#include "text/MessageTexts.h"

namespace gleaner {
namespace {

std::string compose(std::string_view happened, std::string_view whatToDo, const std::string& detail) {
  return std::string(happened) + "\r\n" + std::string(whatToDo) + "\r\n\r\n" + detail;
}

}  // namespace

std::string itemPageFailureMessage(const std::string& itemAddress, const std::string& detail) {
  const auto split = UrlSplit::split(itemAddress);
  const bool webAddress = split && split->serviceType() != ServiceType::Other;
  std::string happened(literals::kItemPageFailed);
  happened += webAddress ? messages::kNetworkFailed : messages::kNotAnItemAddress;
  return compose(happened, webAddress ? messages::kNetworkFailedAdvice : messages::kNotAnItemAddressAdvice, detail);
}

std::string runThreadFailureMessage() {
  return compose(messages::kRunThreadFailed, messages::kRunThreadFailedAdvice, "cannot start a run thread");
}

}  // namespace gleaner
