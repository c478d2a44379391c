// A cpp-httplib server on a free loopback port, run on its own thread for the
// length of a test. The constructor returns only once the server is seen
// running, so that stop() cannot miss it (stop() before the listener runs does
// nothing and the join would hang).
#pragma once

#include <httplib.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace gleaner::testing {

// ServerT may be any httplib::Server, e.g. one that sees raw request targets.
template <typename ServerT = httplib::Server>
class BasicLoopbackServer {
 public:
  // setup registers the handlers on the server before it starts listening.
  template <typename Setup>
  explicit BasicLoopbackServer(Setup&& setup) {
    setup(server_);
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!server_.is_running()) {
      if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("loopback server did not start");
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  BasicLoopbackServer() : BasicLoopbackServer([](httplib::Server&) {}) {}

  ~BasicLoopbackServer() { stop(); }
  BasicLoopbackServer(const BasicLoopbackServer&) = delete;
  BasicLoopbackServer& operator=(const BasicLoopbackServer&) = delete;

  void stop() {
    if (thread_.joinable()) {
      server_.stop();
      thread_.join();
    }
  }

  int port() const { return port_; }
  std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string url(const std::string& path) const { return "http://" + hostPort() + path; }
  ServerT& server() { return server_; }

 private:
  ServerT server_;
  int port_ = 0;
  std::thread thread_;
};

using LoopbackServer = BasicLoopbackServer<>;

}  // namespace gleaner::testing
