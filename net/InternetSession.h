// An internet session: the agent name and the kind of access that every
// connection and request made through it uses. Making a session costs
// nothing and opens nothing.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

namespace gleaner {

class HttpConnection;
class HttpFile;

enum class AccessType {
  Direct,         // no proxy at all, whatever the environment says
  Preconfigured,  // the system proxy: Internet Options on Windows, http_proxy and friends elsewhere
};

class InternetSession {
 public:
  // The name a session without an agent name of its own goes by.
  static constexpr const char* kApplicationName = "gleaner";

  // An empty agent gives the application's name.
  explicit InternetSession(std::string agent = {}, AccessType access = AccessType::Preconfigured);

  const std::string& agent() const { return agent_; }
  AccessType access() const { return access_; }

  // Every request of the session fails when its body outgrows bytes; 0 (the
  // default) leaves the client's limit (InternetClient::Limits).
  void setMaxBodyBytes(std::size_t bytes) { maxBodyBytes_ = bytes; }
  std::size_t maxBodyBytes() const { return maxBodyBytes_; }

  // While *flag is true, every request of the session fails at once, the one
  // in progress included (a run's stop). The flag must outlive the session's
  // requests; null (the default) leaves only the client-wide abort.
  void setAbortFlag(const std::atomic<bool>* flag) { abortFlag_ = flag; }
  const std::atomic<bool>* abortFlag() const { return abortFlag_; }

  // A connection to an HTTP server; nothing goes over the network until a
  // request of it is sent. Throws InternetError for an empty server or a port
  // outside 1-65535.
  std::unique_ptr<HttpConnection> getHttpConnection(const std::string& server, int port);

  // Opens a whole http or https address in one call: the request is sent,
  // redirects are followed by the client, and the file is ready for reading
  // its body whatever the status. Throws InternetError when the address cannot
  // be used or the server cannot be reached.
  std::unique_ptr<HttpFile> openUrl(const std::string& address);

 private:
  std::string agent_;
  AccessType access_;
  std::size_t maxBodyBytes_ = 0;
  const std::atomic<bool>* abortFlag_ = nullptr;
};

}  // namespace gleaner
