// Reads one result page for a job: the job's list rule gives the page's
// records, and the job's reader turns each one into a row, asking the run
// for any further page the record needs. A page on which the list rule
// finds no record is tried with the job's empty-result marker (an optional
// rule file), so that the run can tell a page that is empty by the site's
// own word from a rule that no longer fits the site.
//
// Nothing a page meets is thrown. A failure of a rule (its file cannot be
// had, its pattern does not compile or runs away) ends the page: rows
// already found stay, the failure is reported to the host. A further page
// that cannot be had costs only its own cell of that row. A stop of the run
// ends the page after the record in hand, without a report.
#pragma once

#include <optional>
#include <string>

#include "extract/PageReport.h"
#include "extract/ReaderHost.h"
#include "extract/RuleCatalog.h"

namespace gleaner {

class PageReader {
 public:
  PageReader(const ReaderContext& context, const RuleFile& listRule);
  virtual ~PageReader() = default;
  PageReader(const PageReader&) = delete;
  PageReader& operator=(const PageReader&) = delete;

  PageReport read(const std::string& page);

 protected:
  // One record of the list rule, the empty ones included; the reader's own.
  virtual void readRecord(const std::string& page, std::string record) = 0;

  void addRow(ResultRow row);
  // The text of a further page, or nothing when it could not be had (then
  // reported and counted).
  std::optional<std::string> lookup(const std::string& address);

  const ReaderContext& context() const { return context_; }

 private:
  EmptyResult checkEmptyResult(const std::string& page);
  void reportFailure(const std::string& line) noexcept;

  const ReaderContext& context_;
  const RuleFile& listRule_;
  PageReport report_;
};

}  // namespace gleaner
