#include "text/WideText.h"

#ifdef _WIN32

#include <windows.h>

namespace gleaner::wide {

std::wstring fromCodePage(unsigned codePage, std::string_view in, unsigned long flags) {
  if (in.empty()) return {};
  const int n = MultiByteToWideChar(codePage, flags, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, in.data(), static_cast<int>(in.size()), out.data(), n);
  return out;
}

std::string toCodePage(unsigned codePage, std::wstring_view in) {
  if (in.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, in.data(), static_cast<int>(in.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace gleaner::wide

#endif
