#include "engine/UrlEncoder.h"

namespace gleaner {

namespace {

bool keptAsIs(unsigned char b) { return (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9'); }

}  // namespace

std::string UrlEncoder(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (keptAsIs(b)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0x0F]);
    }
  }
  return out;
}

}  // namespace gleaner
