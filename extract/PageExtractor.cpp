#include "extract/PageExtractor.h"

#include "extract/ExtractionFailure.h"
#include "extract/PatternError.h"
#include "extract/RuleFetcher.h"
#include "extract/RuleObserver.h"
#include "extract/ScanStopped.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner {

PageExtractor::PageExtractor(ExtractorWindow& window, const Sites& sites, const RunContext& run)
    : window_(window), sites_(sites), run_(run) {}

const RunContext& PageExtractor::standaloneRun() {
  static const RunContext run;
  return run;
}

std::string PageExtractor::download(const std::string& address) {
  try {
    return RuleFetcher(address);
  } catch (const std::exception& e) {
    throw ExtractionFailure(literals::downloadFailedReport(address, e.what()));
  }
}

std::optional<std::string> PageExtractor::fetchRule(const RuleFile& rule) {
  RuleObserver* observer = run_.ruleObserver;
  const auto own = run_.settings.ruleTexts.find(std::string(rule.path));
  if (own != run_.settings.ruleTexts.end()) {
    if (observer != nullptr) observer->ruleApplied(rule);
    return own->second;
  }
  const std::string address = sites_.ruleAddress(rule.path);
  std::optional<std::string> text;
  try {
    text = rule.role == RuleRole::EmptyMarker ? OptionalRuleFileFetcher(address, kMaxRuleFileBytes)
                                              : RuleFileFetcher(address, kMaxRuleFileBytes);
  } catch (const std::exception& e) {
    if (observer != nullptr) {
      observer->ruleApplied(rule);
      observer->ruleFailed(rule, RuleFailure::Download);
    }
    throw ExtractionFailure(literals::downloadFailedReport(address, e.what()));
  }
  if (text && observer != nullptr) observer->ruleApplied(rule);
  return text;
}

bool PageExtractor::scanWithRule(const RuleFile& rule, const std::string& text, Scope scope,
                                 const RecordHandler& handler) {
  const std::optional<std::string> ruleText = fetchRule(rule);
  if (!ruleText) return false;
  ScanLimits limits;
  if (scope == Scope::Page) limits.stop = &run_.stop;
  scan(ruleTextToPattern(*ruleText), sites_.ruleAddress(rule.path), text, limits, handler, &rule);
  return true;
}

void PageExtractor::scan(const std::string& pattern, const std::string& source, const std::string& text,
                         const ScanLimits& limits, const RecordHandler& handler, const RuleFile* rule) {
  RuleObserver* observer = rule != nullptr ? run_.ruleObserver : nullptr;
  try {
    PatternScanMatches(pattern, text,
                       [&](const MatchDetail& match, const std::string& record) {
                         if (observer != nullptr) observer->matchFound(*rule, match, record);
                         return handler(record);
                       },
                       limits);
  } catch (const PatternError& e) {
    // Only this scan's own pattern throws PatternError here: a lookup's
    // failure inside the handler has become an ExtractionFailure already.
    if (observer != nullptr) {
      observer->ruleFailed(*rule, e.kind() == PatternError::Kind::Runaway ? RuleFailure::Runaway : RuleFailure::Compile);
    }
    // Boost's message quotes the pattern, which is the rule server's text.
    throw ExtractionFailure(gbk::printable(source) + "\r\nPattern failed: " + gbk::printable(e.what()) + "\r\n");
  }
}

bool PageExtractor::readListPage(const RuleFile& listRule, const std::string& page, const RecordHandler& handler) {
  report_ = PageReport{};
  report_.listRule = &listRule;
  report_.failed = !guarded([&] {
    scanWithRule(listRule, page, Scope::Page, [&](const std::string& record) {
      if (!record.empty()) ++report_.records;
      return handler(record);
    });
    if (report_.records == 0 && !run_.stop.requested()) {
      report_.emptyResult = checkEmptyResult(emptyMarkerOf(listRule.job), page);
    }
  });
  report_.stopped = run_.stop.requested();
  return !report_.failed;
}

EmptyResult PageExtractor::checkEmptyResult(const RuleFile& marker, const std::string& page) {
  // The marker is the rule server's to have or not: without it the run
  // cannot tell an empty page from a broken rule, and says so. A marker that
  // fails is reported like any rule, but the page itself did not fail.
  bool found = false;
  try {
    const bool tried = scanWithRule(marker, page, Scope::Page, [&](const std::string&) {
      found = true;
      return false;
    });
    if (!tried) return EmptyResult::NoMarker;
  } catch (const ExtractionFailure& e) {
    reportFailure(e.what());
    return EmptyResult::MarkerFailed;
  }
  return found ? EmptyResult::Empty : EmptyResult::NotEmpty;
}

void PageExtractor::appendRow(const ResultRow& row, const std::string& countText) {
  window_.appendRow(row, countText);
  ++report_.rows;
}

void PageExtractor::reportFailure(const std::string& line) {
  try {
    window_.reportStatus(line, false);
  } catch (...) {
    // A window that cannot take the report must not take the worker down.
  }
}

bool PageExtractor::guarded(const std::function<void()>& operation) {
  std::string line;
  try {
    operation();
    return true;
  } catch (const ScanStopped&) {
    return true;  // the run was stopped: the page ends here, nothing failed
  } catch (const ExtractionFailure& e) {
    line = e.what();
  } catch (const std::exception& e) {
    line = "Extraction failed: " + gbk::printable(e.what()) + "\r\n";
  } catch (...) {
    line = "Extraction failed\r\n";
  }
  reportFailure(line);
  return false;
}

}  // namespace gleaner
