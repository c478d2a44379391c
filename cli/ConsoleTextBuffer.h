// A stream buffer for a console window: the bytes written to it (UTF-8, or
// GBK) leave as whole characters of UTF-8 text, so that the sink can draw
// them with the console's wide-character call whatever the console's code
// page. A character split across two writes waits for its second half.
#pragma once

#include <functional>
#include <streambuf>
#include <string>
#include <string_view>

namespace gleaner::cli {

class ConsoleTextBuffer : public std::streambuf {
 public:
  using Sink = std::function<void(std::string_view utf8)>;

  explicit ConsoleTextBuffer(Sink sink) : sink_(std::move(sink)) {}

  // Whether the bytes written are GBK (--encoding gbk) rather than UTF-8.
  void setGbk(bool gbk) { gbk_ = gbk; }

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* data, std::streamsize count) override;
  int sync() override;

 private:
  // Hands over everything up to the last whole character.
  void flushWhole();

  Sink sink_;
  bool gbk_ = false;
  std::string pending_;
};

}  // namespace gleaner::cli
