// Where the rule files of a run come from: the rule server, downloaded anew
// for every use so that a rule changed on the server takes effect at once,
// or a text given in a rule's place (how a rule is tried before it is
// published). Every use is told to the run's rule observer.
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "extract/RuleCatalog.h"
#include "extract/Sites.h"

namespace gleaner {

class RuleObserver;
class StopSignal;

class RuleSource {
 public:
  // A rule file longer than this is refused as broken: the real ones are a
  // few hundred bytes.
  static constexpr std::size_t kMaxRuleFileBytes = 64 * 1024;

  // observer: told of every use; null for none. stop: the run's stop, which
  // ends a download of a rule file at once (and is then no failure of the
  // rule). Both must outlive the source.
  explicit RuleSource(const Sites& sites, RuleObserver* observer = nullptr, const StopSignal* stop = nullptr);

  // From now on rule is this text (as fetched: lines ended by CR LF).
  void useText(const RuleFile& rule, std::string text);

  // The rule's pattern, counted as applied. Nothing (and not counted) for an
  // empty-result marker the rule server does not have. Throws
  // ExtractionFailure, the report line of the failed download, when the file
  // cannot be had; that counts as the rule's download failure. After the
  // run's stop it throws ScanStopped instead.
  std::optional<std::string> pattern(const RuleFile& rule);

  // "http://" + the rule server + the rule's path.
  std::string address(const RuleFile& rule) const { return sites_.ruleAddress(rule.path); }
  RuleObserver* observer() const { return observer_; }

 private:
  const Sites& sites_;
  RuleObserver* observer_;
  const StopSignal* stop_;
  std::map<const RuleFile*, std::string> ownTexts_;
};

// A rule file's text downloaded from address: only a 200 answer counts (a
// rule server's error page is no pattern); nothing when it answers 404 and
// the file is optional. Throws InternetError otherwise, naming the status.
// While *abort is true the download fails at once.
std::optional<std::string> downloadRuleFile(const std::string& address, bool optional = false,
                                            const std::atomic<bool>* abort = nullptr);

// A fetched rule text as a pattern: every "\r\n" pair removed, so the file's
// lines run together.
std::string ruleTextToPattern(std::string_view ruleText);

}  // namespace gleaner
