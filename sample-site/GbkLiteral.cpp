#include "sample-site/GbkLiteral.h"

#include <map>
#include <mutex>

#include "text/GbkConvert.h"

namespace gleaner::sample {

const std::string& gbkLiteral(std::string_view utf8) {
  static std::mutex mutex;
  static std::map<std::string, std::string, std::less<>> converted;
  std::lock_guard lock(mutex);
  auto it = converted.find(utf8);
  if (it == converted.end()) it = converted.emplace(std::string(utf8), gbk::fromUtf8(utf8)).first;
  return it->second;  // std::map never moves its nodes
}

}  // namespace gleaner::sample
