#include "extract/RuleFetcher.h"

#include "net/HttpFile.h"
#include "net/InternetSession.h"
#include "net/PageTextReader.h"
#include "text/GbkText.h"

namespace gleaner {

std::string RuleFetcher(const std::string& address, std::size_t maxBodyBytes) {
  InternetSession session({}, AccessType::Preconfigured);
  session.setMaxBodyBytes(maxBodyBytes);
  const auto file = session.openUrl(address);
  return readPageText(*file);
}

std::string ruleTextToPattern(std::string_view ruleText) { return gbk::removeAll(ruleText, "\r\n"); }

}  // namespace gleaner
