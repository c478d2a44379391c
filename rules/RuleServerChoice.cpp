#include "rules/RuleServerChoice.h"

#include <cstdlib>
#include <stdexcept>

#include "rules/BuiltinRuleServer.h"

namespace gleaner {

namespace {

constexpr std::string_view kVariable = "GLEANER_RULE_SERVER";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
         c == '_';
}

bool isValidPort(std::string_view port) {
  if (port.empty() || port.size() > 5) return false;
  int value = 0;
  for (char c : port) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value >= 1 && value <= 65535;
}

[[noreturn]] void reject(std::string_view value) {
  throw std::invalid_argument(std::string(kVariable) + " must be host[:port], not \"" + std::string(value) + "\"");
}

}  // namespace

std::optional<std::string> configuredRuleServer() {
  const char* value = std::getenv(std::string(kVariable).c_str());
  if (value == nullptr || trimmed(value).empty()) return std::nullopt;
  return std::string(value);
}

std::string normalizedRuleServer(std::string_view value) {
  std::string_view rest = trimmed(value);
  if (rest.substr(0, 7) == "http://") rest.remove_prefix(7);
  if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  const std::size_t colon = rest.find(':');
  const std::string_view host = rest.substr(0, colon);
  if (host.empty()) reject(value);
  for (char c : host) {
    if (!isHostCharacter(c)) reject(value);
  }
  if (colon != std::string_view::npos && !isValidPort(rest.substr(colon + 1))) reject(value);
  return std::string(rest);
}

std::string chooseRuleServer(const std::optional<std::string>& configured, BuiltinRuleServer& builtIn) {
  if (configured) return normalizedRuleServer(*configured);
  if (!builtIn.running()) builtIn.start();
  return builtIn.hostPort();
}

std::string chooseRuleServer(BuiltinRuleServer& builtIn) { return chooseRuleServer(configuredRuleServer(), builtIn); }

}  // namespace gleaner
