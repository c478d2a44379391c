// How a run ended, told truthfully: which way it ended, the page that ended
// it when one did, and the counts of its rule health. Every run ends with
// one; the window shows it on the status line and, for a failure, in a
// message that says what happened and what to do; gleaner-cli turns it into
// its exit status, its summary and its JSON; the store keeps it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/RunHealth.h"
#include "text/Job.h"

namespace gleaner {

enum class OutcomeKind {
  Finished,           // every page asked for was read
  ResultsEnded,       // the site's results ended: a page the empty-result marker calls empty
  PageFailed,         // a page after the first could not be downloaded, which ended the walk
  Stopped,            // stopped by the user
  NothingDownloaded,  // the first page (the item page of a buyers run) could not be downloaded
  NotAnItemPage,      // buyers: the address is no item page with reviews
  ExtractionsFailed,  // pages were downloaded, but every extraction on them failed
};

// The kind's name in the JSON summary and the store: "finished",
// "results-ended", "page-failed", "stopped", "nothing-downloaded",
// "not-an-item-page", "extractions-failed".
std::string_view outcomeName(OutcomeKind kind);
std::optional<OutcomeKind> outcomeOfName(std::string_view name);

// The page whose download ended a run.
struct FailedPage {
  int number = 0;       // its number in the walk (1 for the first; 0 for the item page)
  std::string address;  // GBK, as requested
  std::string detail;   // the internet client's own words
  std::string reason;   // GBK, in a few words ("HTTP 404", "无法连接服务器")
};

struct RunOutcome {
  OutcomeKind kind = OutcomeKind::Finished;
  Job job = Job::Offers;
  std::optional<FailedPage> failedPage;  // PageFailed, NothingDownloaded
  int resultsEndedAt = 0;                // ResultsEnded: the empty page
  int pagesDownloaded = 0;
  int extractionsFailed = 0;  // downloaded pages whose extraction a failure ended
  HealthReport health;        // counts, per-rule use, warnings, summary
  std::string statusLine;     // GBK: what the status line keeps, the outcome first
  std::string message;        // GBK: what the user is told at the end
  // A batch: each entry's own outcome, in order, the run's counts their sum.
  std::vector<RunOutcome> entries;
  std::string subject;  // an entry's keyword or item address (GBK)

  // The run did not do what was asked: the user is told what happened and
  // what to do instead of "任务完成！".
  bool failed() const;
  // An entry that did not walk to its end by itself (a failure, not a stop).
  bool endedEarly() const;

  // The outcome as named texts, for the result store.
  std::vector<std::pair<std::string, std::string>> fields() const;
};

}  // namespace gleaner
