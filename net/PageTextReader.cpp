#include "net/PageTextReader.h"

#include "net/HttpFile.h"

namespace gleaner {

std::string readPageText(HttpFile& file) {
  std::string text;
  std::string line;
  while (file.readLine(line)) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace gleaner
