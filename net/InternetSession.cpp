#include "net/InternetSession.h"

#include "net/HttpConnection.h"
#include "net/HttpFile.h"
#include "net/InternetError.h"
#include "net/UrlSplit.h"

namespace gleaner {

InternetSession::InternetSession(std::string agent, AccessType access)
    : agent_(agent.empty() ? std::string(kApplicationName) : std::move(agent)), access_(access) {}

std::unique_ptr<HttpConnection> InternetSession::getHttpConnection(const std::string& server, int port) {
  if (server.empty() || port < 1 || port > 65535) {
    throw InternetError("cannot connect to \"" + server + ":" + std::to_string(port) + "\"");
  }
  return std::unique_ptr<HttpConnection>(new HttpConnection(*this, server, port));
}

std::unique_ptr<HttpFile> InternetSession::openUrl(const std::string& address) {
  const auto url = UrlSplit::split(address);
  if (!url || (url->serviceType() != ServiceType::Http && url->serviceType() != ServiceType::Https)) {
    throw InternetError("cannot open \"" + address + "\": not an http or https address");
  }
  std::unique_ptr<HttpFile> file(new HttpFile(address, {}, *this, HttpFile::Redirects::ByLibcurl));
  file->sendRequest();
  return file;
}

}  // namespace gleaner
