#include "rules/LoopbackHttpServer.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>
#include <utility>

namespace gleaner {

LoopbackHttpServer::LoopbackHttpServer(std::unique_ptr<httplib::Server> server)
    : server_(server ? std::move(server) : std::make_unique<httplib::Server>()) {
  // httplib's default lets a second server share a port that is in use.
  server_->set_socket_options([](socket_t sock) {
    int yes = 1;
#ifdef _WIN32
    setsockopt(sock, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes), sizeof(yes));
#else
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
#endif
  });
}

LoopbackHttpServer::~LoopbackHttpServer() { stop(); }

int LoopbackHttpServer::start(int port) {
  if (started_) throw std::logic_error("the server was already started");
  if (port < 0 || port > 65535) throw std::runtime_error("invalid port " + std::to_string(port));
  started_ = true;
  if (port == 0) {
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("cannot bind a free port on 127.0.0.1");
  } else {
    if (!server_->bind_to_port("127.0.0.1", port)) {
      throw std::runtime_error("cannot bind 127.0.0.1:" + std::to_string(port));
    }
    port_ = port;
  }
  listenerEnded_ = false;
  thread_ = std::thread([this] {
    server_->listen_after_bind();
    listenerEnded_ = true;
  });
  // The listener marks itself running before it accepts anything; if it ends
  // without having done so, it failed.
  while (!server_->is_running()) {
    if (listenerEnded_) {
      thread_.join();
      throw std::runtime_error("the server on 127.0.0.1:" + std::to_string(port_) + " did not start");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return port_;
}

void LoopbackHttpServer::stop() {
  if (!thread_.joinable()) return;
  server_->stop();
  thread_.join();
}

bool LoopbackHttpServer::running() const { return thread_.joinable() && server_->is_running(); }

std::string LoopbackHttpServer::hostPort() const { return "127.0.0.1:" + std::to_string(port_); }

}  // namespace gleaner
