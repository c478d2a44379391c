#include "text/Literals.h"

#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner::literals {

std::string collectingPage(int n) {
  std::string text(kCollectingPagePrefix);
  text += std::to_string(n);
  text += kCollectingPageSuffix;
  return text;
}

std::string leftOutWarningUtf8(std::string_view leftOut) {
  std::string text = gbk::toUtf8(kLeftOutBefore);
  // Each character with a space before it, the last one with one after it.
  for (std::size_t i = 0; i < leftOut.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(leftOut[i]) & 0xC0) != 0x80;
    if (startsCharacter) text += ' ';
    text += leftOut[i];
  }
  text += ' ';
  text += gbk::toUtf8(kLeftOutAfter);
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
