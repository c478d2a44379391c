#include "extract/MatchRecord.h"

#include "extract/HtmlTextCleaner.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

std::string_view trimmedWhite(std::string_view text) {
  while (!text.empty() && gbk::isWhite(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && gbk::isWhite(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string MatchRecord(const std::vector<std::string_view>& groups) {
  std::string record;
  const std::size_t highest = groups.empty() ? 0 : groups.size() - 1;
  for (std::size_t group = highest; group >= 1; --group) {
    std::string field = MatchField(groups[group], group == highest);
    if (field.empty()) continue;
    // The first field becomes the record: a long field is not copied again.
    if (record.empty()) {
      record = std::move(field);
    } else {
      record += field;
    }
    record += '\t';
  }
  return record;
}

std::string MatchField(std::string_view group, bool highest) {
  const std::string_view trimmed = trimmedWhite(group);
  std::string field;
  field.reserve(trimmed.size() + 1);  // room for the record's tab
  field.assign(trimmed);
  return highest ? HtmlTextCleaner(std::move(field)) : field;
}

}  // namespace gleaner
