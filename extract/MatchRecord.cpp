#include "extract/MatchRecord.h"

#include "extract/HtmlTextCleaner.h"
#include "text/GbkText.h"

namespace gleaner {

std::string MatchRecord(const std::vector<std::string_view>& groups) {
  std::string record;
  const std::size_t highest = groups.empty() ? 0 : groups.size() - 1;
  for (std::size_t group = highest; group >= 1; --group) {
    const std::string field = MatchField(groups[group], group == highest);
    if (field.empty()) continue;
    record += field;
    record += '\t';
  }
  return record;
}

std::string MatchField(std::string_view group, bool highest) {
  std::string field = gbk::trimWhite(group);
  return highest ? HtmlTextCleaner(std::move(field)) : field;
}

}  // namespace gleaner
