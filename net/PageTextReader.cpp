#include "net/PageTextReader.h"

#include "net/HttpFile.h"

namespace gleaner {

std::string readPageText(HttpFile& file) {
  // The whole body first, then the text in one pass into room of its exact
  // size: a page of the size limit costs about twice its size, never more,
  // whether it has one line or a million.
  return pageTextOf(file.readBody());
}

std::string pageTextOf(std::string_view body) {
  std::size_t bareLineFeeds = 0;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\n' && (i == 0 || body[i - 1] != '\r')) ++bareLineFeeds;
  }
  const bool lastLineOpen = !body.empty() && body.back() != '\n';
  std::string text;
  text.reserve(body.size() + bareLineFeeds + (lastLineOpen ? 2 : 0));
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\n' && (i == 0 || body[i - 1] != '\r')) text += '\r';
    text += body[i];
  }
  if (lastLineOpen) text += "\r\n";
  return text;
}

}  // namespace gleaner
