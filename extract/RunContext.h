// What one run fixed when it started, as its extractors read it, and the
// run's stop request. The settings are written once by the run's start,
// before its first worker exists, and only read afterwards: a tab clicked or
// a box edited during the run changes nothing of it.
#pragma once

#include <map>
#include <string>

#include "extract/StopSignal.h"

namespace gleaner {

struct RunSettings {
  std::string levelFilterText;  // seller search: the level box's text
  std::string itemTitle;        // buyers: the item page's title, tab, CR LF
  std::string itemAddress;      // buyers: the item address the run downloaded
  // Rule texts to use instead of the rule server's, by path ("/files/ali/…"),
  // as fetched (lines ended by CR LF): how a rule is tried before it is
  // published. Empty in a run.
  std::map<std::string, std::string> ruleTexts;
};

class RuleObserver;

struct RunContext {
  RunSettings settings;
  StopSignal stop;
  // Told of every rule use of the run's extractors; null for none.
  RuleObserver* ruleObserver = nullptr;
};

}  // namespace gleaner
