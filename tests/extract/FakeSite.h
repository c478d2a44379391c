// One loopback server that stands in for the rule server, the offer-detail
// host and the rating host at once: it serves whatever bodies a test puts at
// its paths, answers 404 elsewhere, and can break a body off half-way.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>

#include "extract/Sites.h"
#include "support/LoopbackServer.h"

namespace gleaner::testing {

class FakeSite {
 public:
  FakeSite()
      : server_([this](httplib::Server& server) {
          server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            answer(request.path, response);
          });
        }) {
    sites_.ruleServer = server_.hostPort();
    sites_.offerDetailHost = server_.hostPort();
    sites_.ratingHost = server_.hostPort();
  }

  void serve(const std::string& path, std::string body) {
    std::lock_guard lock(mutex_);
    bodies_[path] = std::move(body);
  }
  // From now on the path is answered with 404.
  void remove(const std::string& path) {
    std::lock_guard lock(mutex_);
    bodies_.erase(path);
  }
  // The response announces its full length, sends half of it and closes.
  void breakOff(const std::string& path) {
    std::lock_guard lock(mutex_);
    broken_.insert(path);
  }
  int hits(const std::string& path) const {
    std::lock_guard lock(mutex_);
    const auto it = hits_.find(path);
    return it == hits_.end() ? 0 : it->second;
  }
  int totalHits() const {
    std::lock_guard lock(mutex_);
    int total = 0;
    for (const auto& [path, count] : hits_) total += count;
    return total;
  }

  const Sites& sites() const { return sites_; }
  std::string url(const std::string& path) const { return server_.url(path); }
  void stop() { server_.stop(); }

 private:
  void answer(const std::string& path, httplib::Response& response) {
    std::lock_guard lock(mutex_);
    ++hits_[path];
    if (broken_.count(path) != 0) {
      const std::size_t announced = 4096;
      response.set_content_provider(announced, "text/html",
                                    [](std::size_t, std::size_t, httplib::DataSink& sink) {
                                      const std::string half(2048, 'x');
                                      sink.write(half.data(), half.size());
                                      return false;
                                    });
      return;
    }
    const auto it = bodies_.find(path);
    if (it == bodies_.end()) {
      response.status = 404;
      response.set_content("<html>not found</html>", "text/html");
      return;
    }
    response.set_content(it->second, "text/html; charset=gbk");
  }

  mutable std::mutex mutex_;
  std::map<std::string, std::string> bodies_;
  std::set<std::string> broken_;
  std::map<std::string, int> hits_;
  Sites sites_;
  LoopbackServer server_;  // last: it stops before the maps it reads go away
};

}  // namespace gleaner::testing
