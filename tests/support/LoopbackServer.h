// A loopback web server for the length of a test: handlers are registered by
// a setup function, then the server is started (and seen running) on a free
// port of 127.0.0.1, and stopped when the object goes.
#pragma once

#include <httplib.h>

#include <memory>
#include <string>

#include "rules/LoopbackHttpServer.h"

namespace gleaner::testing {

// ServerT may be any httplib::Server, e.g. one that sees raw request targets.
template <typename ServerT = httplib::Server>
class BasicLoopbackServer {
 public:
  // setup registers the handlers on the server before it starts listening.
  template <typename Setup>
  explicit BasicLoopbackServer(Setup&& setup) : http_(std::make_unique<ServerT>()) {
    setup(server());
    http_.start();
  }
  BasicLoopbackServer() : BasicLoopbackServer([](httplib::Server&) {}) {}

  void stop() { http_.stop(); }

  int port() const { return http_.port(); }
  std::string hostPort() const { return http_.hostPort(); }
  std::string url(const std::string& path) const { return "http://" + hostPort() + path; }
  ServerT& server() { return static_cast<ServerT&>(http_.server()); }

 private:
  LoopbackHttpServer http_;
};

using LoopbackServer = BasicLoopbackServer<>;

}  // namespace gleaner::testing
