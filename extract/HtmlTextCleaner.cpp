#include "extract/HtmlTextCleaner.h"

#include <array>
#include <string_view>

#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

// The order matters: "&am-p" loses its "-" only after the "&amp" pass has run,
// so it comes out as "&amp".
constexpr std::array<std::string_view, 21> kRemovedInOrder = {
    "&nbsp;", "&amp", "&lt", "&gt", "&quot", "&copy", "\"",
    literals::kRightArrow, "&trade", "&reg", literals::kWhiteSquare,
    " ", "-", "|", "/", "(", ")", "...", "\r", "\n", "#",
};

}  // namespace

std::string HtmlTextCleaner(std::string text) {
  for (const std::string_view removed : kRemovedInOrder) gbk::eraseAll(text, removed);
  return text;
}

}  // namespace gleaner
