#include "text/GbkConvert.h"

#include "text/GbkText.h"
#include "text/WideText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#endif

namespace gleaner::gbk {

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

#ifdef _WIN32

// Converts one GBK character (one or two bytes); empty when it is not one.
std::string characterToUtf8(std::string_view ch) {
  const std::wstring utf16 = wide::fromCodePage(wide::kGbk, ch, MB_ERR_INVALID_CHARS);
  return utf16.empty() ? std::string() : wide::toUtf8(utf16);
}

// Converts one well-formed UTF-8 character to GBK; empty when GBK lacks it.
// The code page's own fallback would write one '?' per UTF-16 unit (two for
// an emoji) and "best fit" look-alikes for some letters, so both are refused
// here and the caller writes a single '?'.
std::string characterToGbk(std::string_view ch) {
  const std::wstring utf16 = wide::fromCodePage(wide::kUtf8, ch, MB_ERR_INVALID_CHARS);
  if (utf16.empty()) return {};
  char out[8];
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(wide::kGbk, WC_NO_BEST_FIT_CHARS, utf16.data(), static_cast<int>(utf16.size()), out,
                                    sizeof out, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return {};
  return std::string(out, static_cast<std::size_t>(n));
}

#else

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts in; at a sequence that cannot be converted, calls onBad(offset)
  // which returns how many input bytes to skip and what to write instead.
  template <typename OnBad>
  std::string run(std::string_view in, OnBad onBad) {
    std::string out;
    out.reserve(in.size() * 3 / 2 + 16);
    char buffer[4096];
    std::size_t done = 0;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    while (done < in.size()) {
      char* src = const_cast<char*>(in.data() + done);
      std::size_t srcLeft = in.size() - done;
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      const int err = errno;
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      done = in.size() - srcLeft;
      if (rc != static_cast<std::size_t>(-1) || err == E2BIG) continue;
      const auto [skip, instead] = onBad(done);
      out.append(instead);
      done += skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

#endif

// Length of a malformed UTF-8 sequence to replace: the lead byte and any
// continuation bytes that follow it.
std::size_t badUtf8Length(std::string_view in, std::size_t at) {
  std::size_t n = 1;
  while (at + n < in.size() && n < 4 && (static_cast<unsigned char>(in[at + n]) & 0xC0) == 0x80) ++n;
  return n;
}

// Length of the UTF-8 sequence whose lead byte is at `at` (clipped to the
// text), or 0 when a continuation byte is missing.
std::size_t utf8SequenceLength(std::string_view in, std::size_t at) {
  const unsigned char b = static_cast<unsigned char>(in[at]);
  std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  if (at + n > in.size()) n = in.size() - at;
  for (std::size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(in[at + i]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

// Adds one character to a list of the characters left out, unless it is there.
void noteLeftOut(std::string& leftOut, std::string_view ch) {
  if (leftOut.find(ch) == std::string::npos) leftOut += ch;
}

// Bytes to replace for a sequence that is not a character: a lead and trail
// byte pair as a whole; a stray byte alone, so the byte after it (an ASCII
// mark, a digit, a line end) is read again on its own.
std::size_t badGbkLength(std::string_view in, std::size_t at) { return charLength(in, at); }

}  // namespace

#ifdef _WIN32

namespace {

// Walks in one character at a time: ASCII as it is, any other character
// through convert(in.substr(at, length(in, at))). A character that convert
// leaves empty becomes `instead`; where length() finds no character (0),
// `instead` stands for the skipBad(in, at) bytes there.
template <typename Length, typename Convert, typename SkipBad>
std::string convertEach(std::string_view in, std::string_view instead, Length length, Convert convert,
                        SkipBad skipBad) {
  std::string out;
  out.reserve(in.size() * 3 / 2);
  for (std::size_t pos = 0; pos < in.size();) {
    if (static_cast<unsigned char>(in[pos]) < 0x80) {
      out.push_back(in[pos++]);
      continue;
    }
    const std::size_t n = length(in, pos);
    const std::string ch = n == 0 ? std::string() : convert(in.substr(pos, n));
    out += ch.empty() ? instead : std::string_view(ch);
    pos += n == 0 ? skipBad(in, pos) : n;
  }
  return out;
}

}  // namespace

std::string toUtf8(std::string_view in) {
  // A pair that is no GBK character is replaced as a whole, a stray byte alone.
  return convertEach(in, kReplacementUtf8, charLength, characterToUtf8, badGbkLength);
}

std::string fromUtf8(std::string_view in) {
  // A character GBK lacks is one '?' (an emoji too), as is a malformed sequence.
  return convertEach(in, "?", utf8SequenceLength, characterToGbk, badUtf8Length);
}

GbkConversion fromUtf8LeavingOut(std::string_view in) {
  GbkConversion result;
  const auto convert = [&](std::string_view ch) {
    std::string gbk = characterToGbk(ch);
    if (gbk.empty()) noteLeftOut(result.leftOut, ch);
    return gbk;
  };
  const auto skipBad = [&](std::string_view text, std::size_t at) {
    noteLeftOut(result.leftOut, kReplacementUtf8);
    return badUtf8Length(text, at);
  };
  result.gbk = convertEach(in, "", utf8SequenceLength, convert, skipBad);
  return result;
}

#else

std::string toUtf8(std::string_view in) {
  Converter converter("UTF-8", "CP936");
  if (!converter.ok()) throw std::runtime_error("no GBK converter on this system");
  return converter.run(in, [&](std::size_t at) {
    return std::pair<std::size_t, std::string_view>{badGbkLength(in, at), kReplacementUtf8};
  });
}

std::string fromUtf8(std::string_view in) {
  Converter converter("CP936", "UTF-8");
  if (!converter.ok()) throw std::runtime_error("no GBK converter on this system");
  return converter.run(in, [&](std::size_t at) {
    // A well-formed character that GBK lacks is skipped whole.
    const std::size_t n = utf8SequenceLength(in, at);
    return std::pair<std::size_t, std::string_view>{n == 0 ? badUtf8Length(in, at) : n, "?"};
  });
}

GbkConversion fromUtf8LeavingOut(std::string_view in) {
  Converter converter("CP936", "UTF-8");
  if (!converter.ok()) throw std::runtime_error("no GBK converter on this system");
  GbkConversion result;
  result.gbk = converter.run(in, [&](std::size_t at) {
    const std::size_t n = utf8SequenceLength(in, at);
    noteLeftOut(result.leftOut, n == 0 ? kReplacementUtf8 : in.substr(at, n));
    return std::pair<std::size_t, std::string_view>{n == 0 ? badUtf8Length(in, at) : n, ""};
  });
  return result;
}

#endif

void toUtf8InPieces(std::string_view gbk, std::size_t pieceBytes,
                    const std::function<bool(std::string_view utf8)>& take) {
  for (std::size_t begin = 0; begin < gbk.size();) {
    std::size_t end = begin;
    while (end < gbk.size() && (end == begin || end - begin < pieceBytes)) end += charLength(gbk, end);
    if (!take(toUtf8(gbk.substr(begin, end - begin)))) return;
    begin = end;
  }
}

}  // namespace gleaner::gbk
