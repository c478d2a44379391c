// An httplib server whose handlers can see the request target exactly as the
// client sent it. httplib drops a "#fragment" from the target it hands over,
// and the 1688 search address carries its page number there
// ("…&n=y#beginPage=2"), so this server reads each connection through a
// stream of its own that notes the request line on its way to httplib.
// Each connection carries one request.
#pragma once

#include <httplib.h>

#include <string>

namespace gleaner::sample {

class RawTargetServer : public httplib::Server {
 public:
  // The target of the request being handled on this thread, as sent; empty
  // when the request line could not be read.
  static const std::string& currentRawTarget();

 private:
  bool process_and_close_socket(socket_t sock) override;
};

}  // namespace gleaner::sample
