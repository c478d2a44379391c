// A file name as UTF-8, for the libraries that take UTF-8 names on every
// platform (SQLite, libxlsxwriter) and for messages.
#pragma once

#include <filesystem>
#include <string>

namespace gleaner {

inline std::string utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace gleaner
