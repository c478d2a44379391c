#include "rules/BuiltinRuleServer.h"

#include <httplib.h>

#include <string>

#include "rules/EmbeddedRules.h"

namespace gleaner {

BuiltinRuleServer::BuiltinRuleServer() {
  http_.server().Get("/files/.*", [](const httplib::Request& req, httplib::Response& res) {
    if (const auto bytes = embeddedRuleFile(req.path)) {
      res.set_content(std::string(*bytes), "text/plain; charset=gbk");
    } else {
      res.status = 404;
      res.set_content("no such rule file\n", "text/plain");
    }
  });
}

int BuiltinRuleServer::start(int port) { return http_.start(port); }

void BuiltinRuleServer::stop() { http_.stop(); }

}  // namespace gleaner
