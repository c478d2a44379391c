#include "net/ConnectTo.h"

#include <algorithm>
#include <cctype>

#include "net/InternetError.h"
#include "text/GbkText.h"

namespace gleaner {

namespace {

// Splits at the colons that stand outside brackets, so "[::1]" stays one field.
std::vector<std::string_view> splitFields(std::string_view entry) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  bool inBrackets = false;
  for (std::size_t i = 0; i < entry.size(); ++i) {
    if (entry[i] == '[') inBrackets = true;
    if (entry[i] == ']') inBrackets = false;
    if (entry[i] == ':' && !inBrackets) {
      fields.push_back(entry.substr(start, i - start));
      start = i + 1;
    }
  }
  fields.push_back(entry.substr(start));
  return fields;
}

bool isHostChar(unsigned char c) { return std::isalnum(c) || c == '.' || c == '-' || c == '_'; }

bool isValidHost(std::string_view host) {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    const std::string_view inner = host.substr(1, host.size() - 2);
    return !inner.empty() && std::all_of(inner.begin(), inner.end(), [](unsigned char c) {
      return std::isxdigit(c) || c == ':' || c == '.';
    });
  }
  return std::all_of(host.begin(), host.end(), [](unsigned char c) { return isHostChar(c); });
}

bool isValidPort(std::string_view port) {
  if (port.empty()) return true;
  if (port.size() > 5 || !std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c); })) {
    return false;
  }
  const int value = std::stoi(std::string(port));
  return value >= 1 && value <= 65535;
}

bool isValidEntry(std::string_view entry) {
  const auto fields = splitFields(entry);
  return fields.size() == 4 && isValidHost(fields[0]) && isValidPort(fields[1]) && isValidHost(fields[2]) &&
         isValidPort(fields[3]);
}

}  // namespace

ConnectTo ConnectTo::parse(std::string_view list) {
  ConnectTo map;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    const std::string entry = gbk::trimWhite(list.substr(start, comma - start));
    if (!entry.empty()) {
      if (!isValidEntry(entry)) {
        throw InternetError("connect-to entry \"" + entry + "\" is not HOST:PORT:CONNECT-HOST:CONNECT-PORT");
      }
      map.entries_.push_back(entry);
    }
    start = comma + 1;
  }
  return map;
}

}  // namespace gleaner
