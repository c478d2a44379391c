// The hosts the jobs talk to. The site hosts are settings of our choosing;
// these are their defaults. The rule server is filled in at start-up: the
// built-in one on a loopback port, or the one GLEANER_RULE_SERVER names.
#pragma once

#include <string>
#include <string_view>

namespace gleaner {

struct Sites {
  std::string offerSearchHost = "s.1688.com";
  std::string offerDetailHost = "detail.1688.com";
  std::string taobaoSearchHost = "s.taobao.com";
  std::string ratingHost = "rate.taobao.com";
  std::string itemHost = "item.taobao.com";
  std::string ruleServer;  // host[:port]

  // "http://" + ruleServer + path, for a path such as "/files/ali/ExtractTextAImg.txt".
  std::string ruleAddress(std::string_view path) const {
    return "http://" + ruleServer + std::string(path);
  }
};

}  // namespace gleaner
