// What a job's reader asks of the run it reads for: where its rows go, the
// further pages its records need, and where a failure is told. The run
// fetches those pages; a reader never downloads anything itself.
#pragma once

#include <stdexcept>
#include <string>

#include "text/ResultRow.h"

namespace gleaner {

class RuleSource;
class StopSignal;
struct Sites;

// A further page that could not be had; what() is the report line of the
// failed download (address, "Download failed!", the reason).
class LookupFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ReaderHost {
 public:
  virtual ~ReaderHost() = default;
  // A row found, in page order. Taken by value: a reader hands its row over
  // without a copy of its (maybe long) cells.
  virtual void rowFound(ResultRow row) = 0;
  // The page text of a further page a record needs (an offer page, a seller's
  // rating page). Throws LookupFailed when it cannot be had, and ScanStopped
  // when the run was stopped meanwhile.
  virtual std::string lookupPage(const std::string& address) = 0;
  // A failure that cost the page (or one row's lookup) something: its report
  // line, for the log.
  virtual void reportFailure(const std::string& report) = 0;
};

// Everything a reader works with.
struct ReaderContext {
  ReaderHost& host;
  RuleSource& rules;
  const Sites& sites;
  // The run's stop: it ends a page's scan after the record in hand.
  const StopSignal& stop;
};

}  // namespace gleaner
