// A cpp-httplib server on 127.0.0.1, listening on a thread of its own.
//
// start() returns only once the server is seen running: httplib's stop() does
// nothing before that, and the join would then hang forever. stop() is safe to
// call at any time, more than once, and from the destructor.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace gleaner {

class LoopbackHttpServer {
 public:
  // server: a subclass of httplib::Server to run instead of a plain one.
  explicit LoopbackHttpServer(std::unique_ptr<httplib::Server> server = nullptr);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // The server to register handlers on before start().
  httplib::Server& server() { return *server_; }

  // Binds 127.0.0.1:port (0 picks a free port; a port in use is refused, not
  // shared) and serves until stop().
  // Returns the bound port. Throws std::runtime_error when the port cannot be
  // bound or the server does not come up; std::logic_error when started twice.
  int start(int port = 0);
  void stop();

  bool running() const;
  int port() const { return port_; }
  // "127.0.0.1:PORT"
  std::string hostPort() const;

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::atomic<bool> listenerEnded_{false};
  int port_ = 0;
  bool started_ = false;
};

}  // namespace gleaner
