#include "text/Literals.h"

namespace gleaner::literals {

std::string collectingPage(int n) {
  std::string text(kCollectingPagePrefix);
  text += std::to_string(n);
  text += kCollectingPageSuffix;
  return text;
}

}  // namespace gleaner::literals
