#include "net/HttpConnection.h"

#include <algorithm>

#include "net/HttpFile.h"
#include "net/InternetError.h"
#include "net/InternetSession.h"

namespace gleaner {

namespace {

bool fitsRequestLine(const std::string& object) {
  return !object.empty() && object.front() == '/' &&
         std::none_of(object.begin(), object.end(), [](unsigned char c) { return c <= 0x20 || c == 0x7F; });
}

}  // namespace

HttpConnection::HttpConnection(const InternetSession& session, std::string server, int port)
    : session_(session), server_(std::move(server)), port_(port) {}

std::unique_ptr<HttpFile> HttpConnection::openRequest(std::string_view verb, const std::string& object) {
  if (verb != "GET") throw InternetError("unsupported request verb \"" + std::string(verb) + "\"");
  if (!fitsRequestLine(object)) throw InternetError("cannot request \"" + object + "\" from " + server_);
  // The address libcurl connects to names only the server; the object goes on
  // the request line as it stands (libcurl would leave a fragment out).
  const std::string url = "http://" + server_ + ":" + std::to_string(port_) + "/";
  return std::unique_ptr<HttpFile>(new HttpFile(url, object, session_, HttpFile::Redirects::ByClient));
}

}  // namespace gleaner
