#include "extract/PageExtractor.h"

#include "extract/ExtractionFailure.h"
#include "extract/PatternError.h"
#include "extract/PatternScan.h"
#include "extract/RuleFetcher.h"
#include "text/Literals.h"

namespace gleaner {

PageExtractor::PageExtractor(ExtractorWindow& window, const Sites& sites) : window_(window), sites_(sites) {}

std::string PageExtractor::download(const std::string& address) {
  try {
    return RuleFetcher(address);
  } catch (const std::exception&) {
    throw ExtractionFailure(address + std::string(literals::kDownloadFailed));
  }
}

void PageExtractor::scanWithRule(std::string_view rulePath, const std::string& text, const RecordHandler& handler) {
  const std::string address = sites_.ruleAddress(rulePath);
  scan(ruleTextToPattern(download(address)), address, text, handler);
}

void PageExtractor::scan(const std::string& pattern, const std::string& source, const std::string& text,
                         const RecordHandler& handler) {
  try {
    PatternScan(pattern, text, handler);
  } catch (const PatternError& e) {
    throw ExtractionFailure(source + "\r\nPattern failed: " + e.what() + "\r\n");
  }
}

void PageExtractor::guarded(const std::function<void()>& operation) {
  std::string line;
  try {
    operation();
    return;
  } catch (const ExtractionFailure& e) {
    line = e.what();
  } catch (const std::exception& e) {
    line = std::string("Extraction failed: ") + e.what() + "\r\n";
  } catch (...) {
    line = "Extraction failed\r\n";
  }
  try {
    window_.reportStatus(line, false);
  } catch (...) {
    // A window that cannot take the report must not take the worker down.
  }
}

}  // namespace gleaner
