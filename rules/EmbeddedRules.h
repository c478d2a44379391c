// The rule files compiled into the programs, byte for byte as they stand in
// rules/files (the table is generated at build time by cmake/EmbedRules.cmake).
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace gleaner {

struct EmbeddedRuleFile {
  std::string_view path;   // as served, e.g. "/files/taobao/ExtractAllText.txt"
  std::string_view bytes;  // GBK, line feeds as in the source file
};

std::span<const EmbeddedRuleFile> embeddedRuleFiles();

// The bytes of the file served at path, or nothing for any other path.
std::optional<std::string_view> embeddedRuleFile(std::string_view path);

}  // namespace gleaner
