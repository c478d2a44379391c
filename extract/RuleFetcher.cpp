#include "extract/RuleFetcher.h"

#include "net/HttpFile.h"
#include "net/InternetError.h"
#include "net/InternetSession.h"
#include "net/PageTextReader.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

enum class Accept { AnyStatus, Ok, OkOrMissing };

std::optional<std::string> fetch(const std::string& address, std::size_t maxBodyBytes, Accept accept) {
  InternetSession session({}, AccessType::Preconfigured);
  session.setMaxBodyBytes(maxBodyBytes);
  const auto file = session.openUrl(address);
  const int status = file->queryStatusCode();
  if (accept == Accept::OkOrMissing && status == 404) return std::nullopt;
  if (accept != Accept::AnyStatus && status != 200) {
    throw InternetError(address + ": no rule file there (status " + std::to_string(status) + ")");
  }
  return readPageText(*file);
}

}  // namespace

std::string RuleFetcher(const std::string& address, std::size_t maxBodyBytes) {
  return *fetch(address, maxBodyBytes, Accept::AnyStatus);
}

std::string RuleFileFetcher(const std::string& address, std::size_t maxBodyBytes) {
  return *fetch(address, maxBodyBytes, Accept::Ok);
}

std::optional<std::string> OptionalRuleFileFetcher(const std::string& address, std::size_t maxBodyBytes) {
  return fetch(address, maxBodyBytes, Accept::OkOrMissing);
}

std::string ruleTextToPattern(std::string_view ruleText) { return gbk::removeAll(ruleText, "\r\n"); }

}  // namespace gleaner
