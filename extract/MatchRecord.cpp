#include "extract/MatchRecord.h"

#include "extract/HtmlTextCleaner.h"
#include "text/GbkText.h"

namespace gleaner {

std::string MatchRecord(const boost::match_results<std::string::const_iterator>& match) {
  std::string record;
  const std::size_t highest = match.size() == 0 ? 0 : match.size() - 1;
  for (std::size_t group = highest; group >= 1; --group) {
    const auto& sub = match[static_cast<int>(group)];
    std::string field = sub.matched ? gbk::trimWhite(std::string(sub.first, sub.second)) : std::string();
    if (group == highest) field = HtmlTextCleaner(std::move(field));
    if (field.empty()) continue;
    record += field;
    record += '\t';
  }
  return record;
}

}  // namespace gleaner
