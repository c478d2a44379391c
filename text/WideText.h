// Text between the narrow code pages and Windows' wide characters (UTF-16):
// the one place that calls the system's conversions, for GBK, UTF-8 names,
// the command line, the console and the system's proxy setting.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

namespace gleaner::wide {

constexpr unsigned kUtf8 = 65001;  // CP_UTF8
constexpr unsigned kGbk = 936;

// Empty for empty input, or when the text cannot be converted and flags ask
// for errors to fail (MB_ERR_INVALID_CHARS).
std::wstring fromCodePage(unsigned codePage, std::string_view in, unsigned long flags = 0);
std::string toCodePage(unsigned codePage, std::wstring_view in);

inline std::wstring fromUtf8(std::string_view in) { return fromCodePage(kUtf8, in); }
inline std::string toUtf8(std::wstring_view in) { return toCodePage(kUtf8, in); }

}  // namespace gleaner::wide

#endif
