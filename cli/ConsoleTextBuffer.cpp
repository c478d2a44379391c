#include "cli/ConsoleTextBuffer.h"

#include "text/GbkConvert.h"
#include "text/GbkText.h"

namespace gleaner::cli {
namespace {

// Bytes at the end of text that begin a character not yet complete.
std::size_t unfinishedUtf8(std::string_view text) {
  for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const unsigned char b = static_cast<unsigned char>(text[text.size() - back]);
    if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

// A lead byte that ends the text waits for its trail byte.
std::size_t unfinishedGbk(std::string_view text) {
  std::size_t pos = 0;
  while (pos + 1 < text.size()) pos += gbk::charLength(text, pos);
  return pos + 1 == text.size() && gbk::isLeadByte(static_cast<unsigned char>(text[pos])) ? 1 : 0;
}

}  // namespace

ConsoleTextBuffer::int_type ConsoleTextBuffer::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  pending_.push_back(traits_type::to_char_type(ch));
  if (pending_.back() == '\n') flushWhole();
  return ch;
}

std::streamsize ConsoleTextBuffer::xsputn(const char* data, std::streamsize count) {
  pending_.append(data, static_cast<std::size_t>(count));
  if (pending_.find('\n') != std::string::npos || pending_.size() >= 4096) flushWhole();
  return count;
}

int ConsoleTextBuffer::sync() {
  flushWhole();
  return 0;
}

void ConsoleTextBuffer::flushWhole() {
  const std::size_t keep = gbk_ ? unfinishedGbk(pending_) : unfinishedUtf8(pending_);
  if (pending_.size() == keep) return;
  const std::string_view whole = std::string_view(pending_).substr(0, pending_.size() - keep);
  sink_(gbk_ ? gbk::toUtf8(whole) : std::string(whole));
  pending_.erase(0, pending_.size() - keep);
}

}  // namespace gleaner::cli
