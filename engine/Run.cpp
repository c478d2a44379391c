#include "engine/Run.h"

#include <chrono>
#include <map>

#include "engine/FailureMessages.h"
#include "engine/NextPageRule.h"
#include "engine/PageQueue.h"
#include "engine/PauseSwitch.h"
#include "engine/RunHealth.h"
#include "engine/RunWatcher.h"
#include "engine/SearchRequestBuilder.h"
#include "engine/ThreadGroup.h"
#include "extract/BuyerReader.h"
#include "extract/ItemPageProbe.h"
#include "extract/OfferReader.h"
#include "extract/PageReport.h"
#include "extract/ReaderHost.h"
#include "extract/RuleSource.h"
#include "extract/ScanStopped.h"
#include "extract/SellerReader.h"
#include "net/InternetError.h"
#include "net/PageDownload.h"
#include "text/GbkText.h"
#include "text/HealthTexts.h"
#include "text/Literals.h"
#include "text/OutcomeTexts.h"

namespace gleaner {

namespace {

constexpr auto kTick = std::chrono::milliseconds(100);
constexpr auto kEndWait = std::chrono::milliseconds(1000);

literals::DownloadReason reasonOf(FailureKind kind) {
  using literals::DownloadReason;
  switch (kind) {
    case FailureKind::Unreachable: return DownloadReason::Unreachable;
    case FailureKind::NoAnswer: return DownloadReason::NoAnswer;
    case FailureKind::BrokenOff: return DownloadReason::BrokenOff;
    case FailureKind::TooLarge: return DownloadReason::TooLarge;
    case FailureKind::Status: return DownloadReason::Status;
    case FailureKind::Redirect: return DownloadReason::Redirect;
    case FailureKind::BadAddress: return DownloadReason::BadAddress;
    case FailureKind::Aborted: return DownloadReason::Aborted;
    case FailureKind::Other: break;
  }
  return DownloadReason::Other;
}

FailedPage failedPageOf(int number, const std::string& address, const std::exception& failure) {
  const auto* internet = dynamic_cast<const InternetError*>(&failure);
  const FailureKind kind = internet != nullptr ? internet->kind() : FailureKind::Other;
  return {number, address, failure.what(), literals::downloadReason(reasonOf(kind), internet ? internet->status() : 0)};
}

// The failed page's own words, for the last lines of a message.
std::string supportLines(const FailedPage& page) {
  return "\r\n\r\n" + gbk::printable(page.address) + "\r\n" + gbk::printable(page.detail);
}

// The health of a batch: every entry's counts and rule uses added up, its
// warnings in order.
HealthReport addedUp(const std::vector<RunOutcome>& entries) {
  HealthReport total;
  std::map<const RuleFile*, RuleCounts> rules;
  for (const RunOutcome& entry : entries) {
    const HealthReport& h = entry.health;
    total.counts.pages += h.counts.pages;
    total.counts.rows += h.counts.rows;
    total.counts.pagesWithoutRecords += h.counts.pagesWithoutRecords;
    total.counts.emptyResultPages += h.counts.emptyResultPages;
    total.counts.ruleFailures += h.counts.ruleFailures;
    total.counts.lookupsFailed += h.counts.lookupsFailed;
    total.records += h.records;
    for (const auto& [rule, counts] : h.rules) {
      RuleCounts& sum = rules[rule];
      sum.applied += counts.applied;
      sum.matched += counts.matched;
      sum.downloadFailed += counts.downloadFailed;
      sum.compileFailed += counts.compileFailed;
      sum.runaway += counts.runaway;
      sum.emptyMatch += counts.emptyMatch;
    }
    total.warnings.insert(total.warnings.end(), h.warnings.begin(), h.warnings.end());
  }
  for (const RuleFile* rule : ruleFiles()) {
    if (const auto it = rules.find(rule); it != rules.end()) total.rules.emplace_back(rule, it->second);
  }
  total.summary = literals::runSummary(total.counts);
  return total;
}

}  // namespace

// One entry's walk: its page queue, its pages, its rule health, and how it
// ended. It is the reader host of its pages.
class Run::Walk : public ReaderHost {
 public:
  Walk(Run& run, std::size_t entry, RunRequest request, int firstPage)
      : run_(run),
        entry(entry),
        request(std::move(request)),
        firstPage(firstPage),
        pages(this->request.job, this->request.pages, firstPage),
        rules(run.sites_, &health.ruleObserver(), &run.stop_) {}

  Run& run_;
  const std::size_t entry;
  const RunRequest request;  // the entry's own, as a single run of it
  const int firstPage;       // the number of its first page
  PageQueue queue;
  PageWalk pages;
  RunHealth health;
  RuleSource rules;
  std::string itemTitle;  // buyers: set before the walk's first worker
  std::atomic<int> pagesDownloaded{0};
  std::atomic<int> extractionsFailed{0};

  // A worker's body: one page from the queue, downloaded and read, its
  // successor queued before the slot is given back, so the walk never sees
  // an empty queue and no worker between a page and the next.
  void readNextPage();
  void noteFailedPage(int number, const std::string& address, const std::exception& failure);
  void noteNotAnItemPage() {
    std::lock_guard lock(mutex_);
    notAnItemPage_ = true;
  }
  OutcomeKind decide() const;
  RunOutcome outcome(OutcomeKind kind);

  // --- ReaderHost ---
  void rowFound(ResultRow row) override;
  std::string lookupPage(const std::string& address) override;
  void reportFailure(const std::string& report) override { run_.watcher_.failureReported(report); }

 private:
  std::optional<std::string> download(const std::string& address, int number);
  void readPage(const std::string& address, const std::string& page, int number);
  PageReport readWithJobReader(const std::string& page);

  mutable std::mutex mutex_;  // guards what the end reads
  std::optional<FailedPage> failedPage_;
  int resultsEndedAt_ = 0;
  bool notAnItemPage_ = false;
};

void Run::Walk::readNextPage() {
  std::string address;
  if (queue.popAddress(address)) {
    const int number = firstPage + pagesDownloaded;
    run_.watcher_.progressChanged({entry, number, address, run_.rows_, itemTitle});
    if (const std::optional<std::string> page = download(address, number)) {
      ++pagesDownloaded;
      readPage(address, *page, number);
    }
  }
  queue.releaseWorker();
}

std::optional<std::string> Run::Walk::download(const std::string& address, int number) {
  PageRequest request = PageRequest::resultPage(address);
  request.abortFlag = &run_.stop_.flag();
  try {
    return downloadPage(request).text;
  } catch (const std::exception& failure) {
    // The page is given up without a retry, and the walk ends with it. A
    // stopped run's page is simply dropped: nothing failed.
    if (!run_.stopRequested()) noteFailedPage(number, address, failure);
  }
  return std::nullopt;
}

void Run::Walk::noteFailedPage(int number, const std::string& address, const std::exception& failure) {
  {
    std::lock_guard lock(mutex_);
    failedPage_ = failedPageOf(number, address, failure);
  }
  run_.watcher_.failureReported(literals::downloadFailedReport(address, failure.what()));
}

void Run::Walk::readPage(const std::string& address, const std::string& page, int number) {
  // The review pages have no status line of their own.
  if (request.job != Job::Buyers) run_.statusChanged(*this, literals::collectingPage(number));
  PageReport report;
  try {
    report = readWithJobReader(page);
  } catch (const std::exception& failure) {
    // The readers contain their own failures; this is the last line, so that
    // the slot is always given back and the run can end.
    report.failed = true;
    reportFailure(gbk::printable(address) + "\r\n" + gbk::printable(failure.what()) + "\r\n");
  }
  if (report.failed) ++extractionsFailed;
  if (report.emptyResult == EmptyResult::Empty) {
    // The site says its results end here: the walk asks for no more pages.
    std::lock_guard lock(mutex_);
    resultsEndedAt_ = number;
  } else if (!run_.stopRequested()) {
    // The page's rows are all in: a run cut off from here on goes on with
    // the next page.
    const auto next = pages.nextAfter(address);
    if (next && queueAddress(*next, queue)) {
      run_.watcher_.progressChanged({entry, number + 1, *next, run_.rows_, itemTitle});
    }
  }
  if (const auto warning = health.pageRead(number, report)) run_.statusChanged(*this, *warning);
}

PageReport Run::Walk::readWithJobReader(const std::string& page) {
  const ReaderContext context{*this, rules, run_.sites_, run_.stop_};
  switch (request.job) {
    case Job::Offers: return OfferReader(context).read(page);
    case Job::Buyers: return BuyerReader(context, itemTitle, request.itemAddress).read(page);
    case Job::Sellers: break;
  }
  return SellerReader(context, request.levelFilter).read(page);
}

void Run::Walk::rowFound(ResultRow row) {
  if (listColumnsOf(run_.request_.job, run_.request_.isBatch()) == kBatchColumns) row[kKeywordColumn] = request.keyword;
  run_.watcher_.rowFound(row, static_cast<int>(++run_.rows_));
}

std::string Run::Walk::lookupPage(const std::string& address) {
  PageRequest lookup = PageRequest::wholeAddress(address);
  // A stop ends this download too, so that no row of a stopped run comes
  // after its end.
  lookup.abortFlag = &run_.stop_.flag();
  try {
    return downloadPage(lookup).text;
  } catch (const std::exception& failure) {
    // Aborted by the stop (or the program closing): the record in hand ends
    // with the page; it did not fail.
    if (run_.stopRequested()) throw ScanStopped();
    throw LookupFailed(literals::downloadFailedReport(address, failure.what()));
  }
}

OutcomeKind Run::Walk::decide() const {
  std::lock_guard lock(mutex_);
  if (run_.stopRequested()) return OutcomeKind::Stopped;
  if (notAnItemPage_) return OutcomeKind::NotAnItemPage;
  // A walk that went on from where a stopped run stood has read pages
  // before its first one: that one failing ends the walk like any later page.
  if (pagesDownloaded == 0) {
    return failedPage_ && firstPage > 1 ? OutcomeKind::PageFailed : OutcomeKind::NothingDownloaded;
  }
  if (extractionsFailed == pagesDownloaded) return OutcomeKind::ExtractionsFailed;
  if (failedPage_) return OutcomeKind::PageFailed;
  if (resultsEndedAt_ > 0) return OutcomeKind::ResultsEnded;
  return OutcomeKind::Finished;
}

RunOutcome Run::Walk::outcome(OutcomeKind kind) {
  RunOutcome outcome;
  outcome.kind = kind;
  outcome.job = request.job;
  outcome.subject = request.entries().front();
  outcome.pagesDownloaded = pagesDownloaded;
  outcome.extractionsFailed = extractionsFailed;
  {
    std::lock_guard lock(mutex_);
    outcome.failedPage = failedPage_;
    outcome.resultsEndedAt = resultsEndedAt_;
  }
  // The status line keeps what the walk found and, when something looks
  // wrong, which rule is suspect, after how it ended.
  const std::string summary = health.endOfRun();
  outcome.health = health.report();
  const FailedPage failed = outcome.failedPage.value_or(
      FailedPage{firstPage, {}, {}, literals::downloadReason(literals::DownloadReason::Other, 0)});
  const int rows = static_cast<int>(run_.rows_);
  std::string opening;
  switch (kind) {
    case OutcomeKind::Finished:
      outcome.message = std::string(literals::kRunFinished);
      break;
    case OutcomeKind::ResultsEnded:
      opening = literals::resultsEndedOpening(outcome.resultsEndedAt, request.job == Job::Buyers);
      outcome.message = std::string(literals::kRunFinished);
      break;
    case OutcomeKind::Stopped:
      opening = literals::stoppedOpening();
      outcome.message = std::string(literals::kRunFinished);
      break;
    case OutcomeKind::PageFailed:
      opening = literals::pageFailedOpening(failed.number, failed.reason);
      outcome.message = literals::pageFailedMessage(failed.number, failed.reason, rows) + supportLines(failed);
      break;
    case OutcomeKind::NothingDownloaded:
      if (request.job == Job::Buyers && failed.number == 0) {
        opening = literals::itemPageFailedOpening(failed.reason);
        outcome.message = itemPageFailureMessage(gbk::printable(failed.address), gbk::printable(failed.detail));
      } else {
        opening = literals::nothingDownloadedOpening(failed.number, failed.reason);
        outcome.message = literals::nothingDownloadedMessage(failed.reason) + supportLines(failed);
      }
      break;
    case OutcomeKind::NotAnItemPage:
      opening = literals::notAnItemPageOpening();
      outcome.message = literals::notAnItemPageMessage() + "\r\n\r\n" + gbk::printable(request.itemAddress);
      break;
    case OutcomeKind::ExtractionsFailed:
      opening = literals::extractionsFailedOpening();
      outcome.message = literals::extractionsFailedMessage(rows);
      break;
  }
  outcome.statusLine = opening.empty() ? summary : literals::openedLine(opening, summary);
  return outcome;
}

Run::Run(RunRequest request, RunWatcher& watcher, Sites sites, const PauseSwitch& pause,
         std::shared_ptr<ThreadGroup> threads, std::optional<RunProgress> from)
    : request_(std::move(request)),
      entries_(request_.entries()),
      watcher_(watcher),
      sites_(std::move(sites)),
      pause_(pause),
      threads_(std::move(threads)),
      from_(std::move(from)) {}

Run::~Run() = default;

std::optional<RunOutcome> Run::outcome() const {
  std::lock_guard lock(mutex_);
  return outcome_;
}

void Run::execute() {
  const std::size_t firstEntry = from_ ? from_->entry : 0;
  rows_ = from_ ? from_->rowsBefore : 0;
  watcher_.runStarted({request_.job, listColumnsOf(request_.job, request_.isBatch()), rows_});
  std::vector<RunOutcome> outcomes;
  for (std::size_t entry = firstEntry; entry < entries_.size(); ++entry) {
    if (entry > firstEntry && (stopRequested() || threads_->shuttingDown())) break;
    outcomes.push_back(walkEntry(entry, entry == firstEntry ? from_ : std::nullopt));
  }
  if (!request_.isBatch()) {
    // A single run whose item page failed or is no item page has walked
    // nothing: it ends at once.
    const RunOutcome& only = outcomes.front();
    const bool walked = only.kind != OutcomeKind::NotAnItemPage &&
                        !(only.kind == OutcomeKind::NothingDownloaded && only.failedPage && only.failedPage->number == 0);
    if (walked) threads_->sleepFor(kEndWait);
    end(outcomes.front());
    return;
  }
  threads_->sleepFor(kEndWait);
  end(batchOutcome(std::move(outcomes)));
}

RunOutcome Run::walkEntry(std::size_t entry, const std::optional<RunProgress>& from) {
  const RunRequest single = request_.entry(entry);
  const bool resumedInWalk = from && from->page >= 1 && !from->address.empty();
  auto walk = std::make_shared<Walk>(*this, entry, single, resumedInWalk ? from->page : 1);
  std::string first = resumedInWalk ? from->address : searchAddress(single, sites_);
  if (single.job == Job::Buyers && resumedInWalk) {
    walk->itemTitle = from->itemTitle;
  } else if (single.job == Job::Buyers) {
    watcher_.progressChanged({entry, 0, single.itemAddress, rows_, {}});
    PageRequest itemPage = PageRequest::wholeAddress(single.itemAddress);
    itemPage.abortFlag = &stop_.flag();
    std::string page;
    try {
      page = downloadPage(itemPage).text;
    } catch (const std::exception& failure) {
      // Without the item page there is no review address to walk. A stop
      // while it was on its way leaves nothing to walk either.
      if (!stopRequested()) walk->noteFailedPage(0, single.itemAddress, failure);
      return walk->outcome(walk->decide());
    }
    const ItemProbe probe = probeItemPage(page, sites_.ratingHost);
    if (!probe.failure.empty()) watcher_.failureReported(probe.failure);
    if (probe.reviewAddress.empty() && !stopRequested()) walk->noteNotAnItemPage();
    walk->itemTitle = probe.title;
    first = probe.reviewAddress;
  }
  if (!first.empty() && !stopRequested()) walkPages(walk, first);
  RunOutcome outcome = walk->outcome(walk->decide());
  if (request_.isBatch()) statusChanged(*walk, outcome.statusLine);
  return outcome;
}

void Run::walkPages(const std::shared_ptr<Walk>& walk, const std::string& firstAddress) {
  walk->queue.pushAddress(firstAddress);
  if (walk->queue.acquireWorker()) startWorker(walk);
  while (!stopRequested() && !threads_->shuttingDown()) {
    if (walk->queue.allHandedOutAndNoWorker()) break;
    threads_->sleepFor(kTick);
    if (!pause_.paused() && walk->queue.acquireWorkerForWaitingAddress()) startWorker(walk);
  }
  // A stopped walk's page in hand ends at once (its downloads are aborted);
  // its outcome counts it once it has.
  for (int waited = 0; !walk->queue.noWorker() && waited < 50; ++waited) {
    threads_->sleepFor(std::chrono::milliseconds(20));
  }
}

void Run::startWorker(const std::shared_ptr<Walk>& walk) {
  auto self = shared_from_this();
  if (!threads_->start([self, walk] { walk->readNextPage(); })) walk->queue.releaseWorker();
}

void Run::statusChanged(const Walk& walk, const std::string& line) {
  if (!request_.isBatch()) {
    watcher_.statusChanged(line);
    return;
  }
  watcher_.statusChanged(literals::batchEntryPrefix(walk.entry, entries_.size(), walk.request.keyword,
                                                    request_.job == Job::Buyers) +
                         line);
}

RunOutcome Run::batchOutcome(std::vector<RunOutcome> entries) const {
  RunOutcome outcome;
  outcome.job = request_.job;
  const bool items = request_.job == Job::Buyers;
  std::size_t endedEarly = 0;
  std::size_t downloadedNothing = 0;
  std::size_t resultsEnded = 0;
  std::string endedLines;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const RunOutcome& entry = entries[i];
    outcome.pagesDownloaded += entry.pagesDownloaded;
    outcome.extractionsFailed += entry.extractionsFailed;
    if (entry.kind == OutcomeKind::NothingDownloaded || entry.kind == OutcomeKind::NotAnItemPage) ++downloadedNothing;
    if (entry.kind == OutcomeKind::ResultsEnded) ++resultsEnded;
    if (!entry.endedEarly()) continue;
    ++endedEarly;
    if (!outcome.failedPage) outcome.failedPage = entry.failedPage;
    const std::size_t index = (from_ ? from_->entry : 0) + i;
    endedLines += literals::batchEntryPrefix(index, entries_.size(), entries_[index], items) + entry.statusLine + "\r\n";
  }
  if (stopRequested()) {
    outcome.kind = OutcomeKind::Stopped;
  } else if (downloadedNothing == entries.size()) {
    outcome.kind = OutcomeKind::NothingDownloaded;
  } else if (outcome.pagesDownloaded > 0 && outcome.extractionsFailed == outcome.pagesDownloaded) {
    outcome.kind = OutcomeKind::ExtractionsFailed;
  } else if (endedEarly > 0) {
    outcome.kind = OutcomeKind::PageFailed;
  } else if (resultsEnded == entries.size()) {
    outcome.kind = OutcomeKind::ResultsEnded;
  } else {
    outcome.kind = OutcomeKind::Finished;
  }
  outcome.health = addedUp(entries);
  const int rows = static_cast<int>(rows_);
  std::string line = literals::openedLine(literals::batchOpening(entries_.size(), endedEarly, items),
                                          outcome.health.summary);
  switch (outcome.kind) {
    case OutcomeKind::Stopped:
      line = literals::openedLine(literals::stoppedOpening(), line);
      outcome.message = std::string(literals::kRunFinished);
      break;
    case OutcomeKind::NothingDownloaded:
      outcome.message = literals::batchNothingDownloadedMessage(entries.size(), items);
      break;
    case OutcomeKind::ExtractionsFailed:
      line = literals::openedLine(literals::extractionsFailedOpening(), line);
      outcome.message = literals::extractionsFailedMessage(rows);
      break;
    case OutcomeKind::PageFailed:
      outcome.message = literals::batchEndedEarlyMessage(endedEarly, items, endedLines, rows);
      break;
    default:
      outcome.message = std::string(literals::kRunFinished);
      break;
  }
  outcome.statusLine = line;
  outcome.entries = std::move(entries);
  return outcome;
}

void Run::end(RunOutcome outcome) {
  {
    std::lock_guard lock(mutex_);
    outcome_ = outcome;
  }
  watcher_.runEnded(outcome);
}

}  // namespace gleaner
