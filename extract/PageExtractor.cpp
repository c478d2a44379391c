#include "extract/PageExtractor.h"

#include "extract/ExtractionFailure.h"
#include "extract/PatternError.h"
#include "extract/RuleFetcher.h"
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

std::string PageExtractor::download(const std::string& address, Download what) {
  try {
    return what == Download::RuleFile ? RuleFileFetcher(address, kMaxRuleFileBytes) : RuleFetcher(address);
  } catch (const std::exception& e) {
    throw ExtractionFailure(literals::downloadFailedReport(address, e.what()));
  }
}

void PageExtractor::scanWithRule(std::string_view rulePath, const std::string& text, Scope scope,
                                 const RecordHandler& handler) {
  const std::string address = sites_.ruleAddress(rulePath);
  ScanLimits limits;
  if (scope == Scope::Page) limits.stop = &run_.stop;
  scan(ruleTextToPattern(download(address, Download::RuleFile)), address, text, limits, handler);
}

void PageExtractor::scan(const std::string& pattern, const std::string& source, const std::string& text,
                         const ScanLimits& limits, const RecordHandler& handler) {
  try {
    PatternScan(pattern, text, handler, limits);
  } catch (const PatternError& e) {
    // Boost's message quotes the pattern, which is the rule server's text.
    throw ExtractionFailure(gbk::printable(source) + "\r\nPattern failed: " + gbk::printable(e.what()) + "\r\n");
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
  try {
    window_.reportStatus(line, false);
  } catch (...) {
    // A window that cannot take the report must not take the worker down.
  }
  return false;
}

}  // namespace gleaner
