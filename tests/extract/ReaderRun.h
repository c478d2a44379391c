// What a reader needs of a run, for the reader tests: a host that keeps the
// rows and the reports and fetches further pages the way a run does (one
// whole-address download each), the rule source and the stop.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "extract/ReaderHost.h"
#include "extract/RuleSource.h"
#include "extract/ScanStopped.h"
#include "extract/Sites.h"
#include "extract/StopSignal.h"
#include "net/PageDownload.h"
#include "text/Literals.h"

namespace gleaner::testing {

class FakeHost : public ReaderHost {
 public:
  explicit FakeHost(const StopSignal& stop) : stop_(stop) {}

  void rowFound(ResultRow row) override {
    rows.push_back(row);
    if (onRow) onRow(row);
  }
  std::string lookupPage(const std::string& address) override {
    try {
      return downloadPage(PageRequest::wholeAddress(address)).text;
    } catch (const std::exception& failure) {
      if (stop_.requested()) throw ScanStopped();
      throw LookupFailed(literals::downloadFailedReport(address, failure.what()));
    }
  }
  void reportFailure(const std::string& report) override { reports.push_back(report); }

  std::vector<ResultRow> rows;
  std::vector<std::string> reports;
  // Called after each row is kept.
  std::function<void(const ResultRow&)> onRow;

 private:
  const StopSignal& stop_;
};

struct ReaderRun {
  explicit ReaderRun(Sites runSites, RuleObserver* observer = nullptr)
      : sites(std::move(runSites)), rules(sites, observer, &stop), host(stop), context{host, rules, sites, stop} {}
  ReaderRun(const ReaderRun&) = delete;
  ReaderRun& operator=(const ReaderRun&) = delete;

  const Sites sites;
  StopSignal stop;
  RuleSource rules;
  FakeHost host;
  const ReaderContext context;
};

}  // namespace gleaner::testing
