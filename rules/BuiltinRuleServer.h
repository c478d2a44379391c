// The rule server the programs start for themselves: the rule files compiled
// into the binary, served on a loopback port under "/files/taobao/…" and
// "/files/ali/…", on any Host. Every other path answers 404.
#pragma once

#include <string>

#include "rules/LoopbackHttpServer.h"

namespace gleaner {

class BuiltinRuleServer {
 public:
  BuiltinRuleServer();

  // Starts serving on 127.0.0.1:port (0 picks a free port); returns the port.
  // Throws std::runtime_error when that fails.
  int start(int port = 0);
  // Safe before start(), after a failed start() and more than once.
  void stop();

  bool running() const { return http_.running(); }
  int port() const { return http_.port(); }
  // "127.0.0.1:PORT"
  std::string hostPort() const { return http_.hostPort(); }

 private:
  LoopbackHttpServer http_;
};

}  // namespace gleaner
