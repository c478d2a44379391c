// Tab page 129: the 1688 offer search settings (keyword, page count, sort
// order and three filters).
#pragma once

#include "app/TemplatePage.h"

namespace gleaner {

class SearchPage : public TemplatePage {
 public:
  SearchPage();

 protected:
  void start() override;
};

}  // namespace gleaner
