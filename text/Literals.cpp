#include "text/Literals.h"

#include "text/GbkText.h"

namespace gleaner::literals {

std::string collectingPage(int n) {
  std::string text(kCollectingPagePrefix);
  text += std::to_string(n);
  text += kCollectingPageSuffix;
  return text;
}

std::string downloadFailedReport(std::string_view address, std::string_view reason) {
  std::string text = gbk::printable(address);
  text += kDownloadFailed;
  if (!reason.empty()) {
    text += gbk::printable(reason);
    text += "\r\n";
  }
  return text;
}

}  // namespace gleaner::literals
