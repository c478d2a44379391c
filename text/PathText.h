// File names as UTF-8 text. A std::filesystem::path built from a narrow
// string reads it in the ANSI code page on Windows, where a Chinese name such
// as 核桃.xlsx would be lost; every name that arrives as UTF-8 (the command
// line, the window, a test) becomes a path here, and back: for the libraries
// that take UTF-8 names on every platform (SQLite, libxlsxwriter) and for
// messages.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace gleaner {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8Of(const std::filesystem::path& path);

}  // namespace gleaner
