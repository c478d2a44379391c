#include "extract/MatchRecord.h"

#include "extract/HtmlTextCleaner.h"
#include "text/GbkText.h"

namespace gleaner {

std::string MatchRecord(const std::vector<std::string_view>& groups) {
  std::string record;
  const std::size_t highest = groups.empty() ? 0 : groups.size() - 1;
  for (std::size_t group = highest; group >= 1; --group) {
    std::string field = gbk::trimWhite(groups[group]);
    if (group == highest) field = HtmlTextCleaner(std::move(field));
    if (field.empty()) continue;
    record += field;
    record += '\t';
  }
  return record;
}

}  // namespace gleaner
