// Tab page 132: the button that opens the user guide.
#pragma once

#include <functional>

#include "app/TemplatePage.h"

namespace gleaner {

class HelpPage : public TemplatePage {
 public:
  HelpPage();

  // Opens the user guide; the main window supplies it.
  std::function<void()> onOpenHelp;

 protected:
  void start() override;
};

}  // namespace gleaner
