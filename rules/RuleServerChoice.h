// Which rule server the programs use: the one GLEANER_RULE_SERVER names
// (host[:port]; how new rules reach the programs without a release), or else
// the built-in one, started on demand.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gleaner {

class BuiltinRuleServer;

// The value of GLEANER_RULE_SERVER; nothing when it is unset or blank.
std::optional<std::string> configuredRuleServer();

// host[:port] from a configured value. Surrounding white space, a leading
// "http://" and a trailing "/" are tolerated. Throws std::invalid_argument
// with a message naming the variable when the rest is not host[:port].
std::string normalizedRuleServer(std::string_view value);

// The host[:port] the programs build rule addresses with: the configured
// value when there is one (the built-in server is then left alone),
// otherwise builtIn's address, starting it first if it is not running.
std::string chooseRuleServer(const std::optional<std::string>& configured, BuiltinRuleServer& builtIn);

// The same with configuredRuleServer().
std::string chooseRuleServer(BuiltinRuleServer& builtIn);

}  // namespace gleaner
