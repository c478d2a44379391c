#include "engine/SimpleFetch.h"

#include "net/HttpFile.h"
#include "net/InternetSession.h"
#include "net/PageTextReader.h"

namespace gleaner {

std::string SimpleFetch(const std::string& address) {
  InternetSession session({}, AccessType::Preconfigured);
  const auto file = session.openUrl(address);
  return readPageText(*file);
}

}  // namespace gleaner
