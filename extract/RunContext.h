// What one run fixed when it started, as its extractors read it, and the
// run's stop request. The settings are written once by the run's start,
// before its first worker exists, and only read afterwards: a tab clicked or
// a box edited during the run changes nothing of it.
#pragma once

#include <string>

#include "extract/StopSignal.h"

namespace gleaner {

struct RunSettings {
  std::string levelFilterText;  // seller search: the level box's text
  std::string itemTitle;        // buyers: the item page's title, tab, CR LF
  std::string itemAddress;      // buyers: the item address the run downloaded
};

struct RunContext {
  RunSettings settings;
  StopSignal stop;
};

}  // namespace gleaner
