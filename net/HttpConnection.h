// A connection to one HTTP server and port, made by
// InternetSession::getHttpConnection. Each request opened on it goes out
// over a connection of its own when it is sent. The session must outlive it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace gleaner {

class HttpFile;
class InternetSession;

class HttpConnection {
 public:
  const std::string& server() const { return server_; }
  int port() const { return port_; }

  // A request for object (path with query and fragment), sent exactly as it
  // stands, fragment included; it follows plain-http redirects itself (see
  // HttpFile::sendRequest). Only GET is supported. Throws InternetError for another verb or an object that could
  // not go on a request line.
  std::unique_ptr<HttpFile> openRequest(std::string_view verb, const std::string& object);

 private:
  friend class InternetSession;
  HttpConnection(const InternetSession& session, std::string server, int port);

  const InternetSession& session_;
  std::string server_;
  int port_;
};

}  // namespace gleaner
