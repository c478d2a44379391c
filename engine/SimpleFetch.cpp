#include "engine/SimpleFetch.h"

#include "extract/StopSignal.h"

#include "net/HttpFile.h"
#include "net/InternetSession.h"
#include "net/PageTextReader.h"

namespace gleaner {

std::string SimpleFetch(const std::string& address, const StopSignal* stop) {
  InternetSession session({}, AccessType::Preconfigured);
  if (stop != nullptr) session.setAbortFlag(&stop->flag());
  const auto file = session.openUrl(address);
  return readPageText(*file);
}

}  // namespace gleaner
