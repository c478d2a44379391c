#include "extract/PageReader.h"

#include "extract/ExtractionFailure.h"
#include "extract/RuleScan.h"
#include "extract/ScanStopped.h"
#include "extract/StopSignal.h"
#include "text/GbkText.h"

namespace gleaner {

PageReader::PageReader(const ReaderContext& context, const RuleFile& listRule)
    : context_(context), listRule_(listRule) {}

PageReport PageReader::read(const std::string& page) {
  report_ = PageReport{};
  report_.listRule = &listRule_;
  std::string failure;
  try {
    RuleScan scan(context_.rules, listRule_, page, &context_.stop);
    while (auto record = scan.next()) {
      if (!record->empty()) ++report_.records;
      readRecord(page, std::move(*record));
    }
    if (report_.records == 0 && !context_.stop.requested()) report_.emptyResult = checkEmptyResult(page);
  } catch (const ScanStopped&) {
    // The run was stopped: the page ends here, nothing failed.
  } catch (const ExtractionFailure& e) {
    failure = e.what();
  } catch (const std::exception& e) {
    failure = "Extraction failed: " + gbk::printable(e.what()) + "\r\n";
  } catch (...) {
    failure = "Extraction failed\r\n";
  }
  if (!failure.empty()) {
    report_.failed = true;
    reportFailure(failure);
  }
  report_.stopped = context_.stop.requested();
  return report_;
}

void PageReader::addRow(ResultRow row) {
  context_.host.rowFound(std::move(row));
  ++report_.rows;
}

std::optional<std::string> PageReader::lookup(const std::string& address) {
  try {
    return context_.host.lookupPage(address);
  } catch (const LookupFailed& e) {
    ++report_.lookupsFailed;
    reportFailure(e.what());
    return std::nullopt;
  }
}

EmptyResult PageReader::checkEmptyResult(const std::string& page) {
  // The marker is the rule server's to have or not: without it the run
  // cannot tell an empty page from a broken rule, and says so. A marker that
  // fails is reported like any rule, but the page itself did not fail.
  try {
    RuleScan marker(context_.rules, emptyMarkerOf(listRule_.job), page, &context_.stop);
    if (!marker.available()) return EmptyResult::NoMarker;
    return marker.next() ? EmptyResult::Empty : EmptyResult::NotEmpty;
  } catch (const ExtractionFailure& e) {
    reportFailure(e.what());
    return EmptyResult::MarkerFailed;
  }
}

void PageReader::reportFailure(const std::string& line) noexcept {
  try {
    context_.host.reportFailure(line);
  } catch (...) {
    // A host that cannot take the report must not take the worker down.
  }
}

}  // namespace gleaner
