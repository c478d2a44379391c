#include "engine/Run.h"

#include <chrono>

#include "engine/FailureMessages.h"
#include "engine/PauseSwitch.h"
#include "engine/RunWatcher.h"
#include "engine/SearchRequestBuilder.h"
#include "engine/ThreadGroup.h"
#include "extract/BuyerReader.h"
#include "extract/ItemPageProbe.h"
#include "extract/OfferReader.h"
#include "extract/ScanStopped.h"
#include "extract/SellerReader.h"
#include "net/InternetError.h"
#include "net/PageDownload.h"
#include "text/GbkText.h"
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

}  // namespace

Run::Run(RunRequest request, RunWatcher& watcher, Sites sites, const PauseSwitch& pause,
         std::shared_ptr<ThreadGroup> threads)
    : request_(std::move(request)),
      watcher_(watcher),
      sites_(std::move(sites)),
      pause_(pause),
      threads_(std::move(threads)),
      rules_(sites_, &health_.ruleObserver(), &stop_),
      walk_(request_.job, request_.pages) {}

Run::~Run() = default;

std::optional<RunOutcome> Run::outcome() const {
  std::lock_guard lock(mutex_);
  return outcome_;
}

void Run::execute() {
  watcher_.runStarted(request_.job);
  std::string first = searchAddress(request_, sites_);
  if (request_.job == Job::Buyers) {
    const std::optional<std::string> review = startBuyers();
    if (!review) return;
    first = *review;
  }
  // A buyers run stopped while its item page was on its way has nothing to
  // walk; it ends like any stopped run.
  if (!first.empty()) walk(first);
  threads_->sleepFor(kEndWait);
  end(decide());
}

std::optional<std::string> Run::startBuyers() {
  PageRequest itemPage = PageRequest::wholeAddress(request_.itemAddress);
  itemPage.abortFlag = &stop_.flag();
  std::string page;
  try {
    page = downloadPage(itemPage).text;
  } catch (const std::exception& failure) {
    if (stopRequested()) return std::string();
    // Without the item page there is no review address to walk: the run
    // ends here, with the reason in front of the user.
    noteFailedPage(0, request_.itemAddress, failure);
    end(OutcomeKind::NothingDownloaded);
    return std::nullopt;
  }
  const ItemProbe probe = probeItemPage(page, sites_.ratingHost);
  if (!probe.failure.empty()) watcher_.failureReported(probe.failure);
  if (probe.reviewAddress.empty()) {
    if (stopRequested()) return std::string();
    end(OutcomeKind::NotAnItemPage);
    return std::nullopt;
  }
  itemTitle_ = probe.title;
  return probe.reviewAddress;
}

void Run::walk(const std::string& firstAddress) {
  queue_.pushAddress(firstAddress);
  if (queue_.acquireWorker()) startWorker();
  while (!stopRequested() && !threads_->shuttingDown()) {
    if (queue_.allHandedOutAndNoWorker()) break;
    threads_->sleepFor(kTick);
    if (!pause_.paused() && queue_.acquireWorkerForWaitingAddress()) startWorker();
  }
}

void Run::startWorker() {
  auto self = shared_from_this();
  if (!threads_->start([self] { self->readNextPage(); })) queue_.releaseWorker();
}

void Run::readNextPage() {
  std::string address;
  if (queue_.popAddress(address)) {
    const int number = pagesDownloaded_ + 1;
    if (const std::optional<std::string> page = download(address, number)) {
      ++pagesDownloaded_;
      readPage(address, *page, number);
    }
  }
  queue_.releaseWorker();
}

std::optional<std::string> Run::download(const std::string& address, int number) {
  PageRequest request = PageRequest::resultPage(address);
  request.abortFlag = &stop_.flag();
  try {
    return downloadPage(request).text;
  } catch (const std::exception& failure) {
    // The page is given up without a retry, and the walk ends with it. A
    // stopped run's page is simply dropped: nothing failed.
    if (!stopRequested()) noteFailedPage(number, address, failure);
  }
  return std::nullopt;
}

void Run::noteFailedPage(int number, const std::string& address, const std::exception& failure) {
  {
    std::lock_guard lock(mutex_);
    failedPage_ = failedPageOf(number, address, failure);
  }
  watcher_.failureReported(literals::downloadFailedReport(address, failure.what()));
}

void Run::readPage(const std::string& address, const std::string& page, int number) {
  // The review pages have no status line of their own.
  if (request_.job != Job::Buyers) watcher_.statusChanged(literals::collectingPage(number));
  PageReport report;
  try {
    report = readWithJobReader(page);
  } catch (const std::exception& failure) {
    // The readers contain their own failures; this is the last line, so that
    // the slot is always given back and the run can end.
    report.failed = true;
    reportFailure(gbk::printable(address) + "\r\n" + gbk::printable(failure.what()) + "\r\n");
  }
  if (report.failed) ++extractionsFailed_;
  if (report.emptyResult == EmptyResult::Empty) {
    // The site says its results end here: the walk asks for no more pages.
    std::lock_guard lock(mutex_);
    resultsEndedAt_ = number;
  } else if (!stopRequested()) {
    if (const auto next = walk_.nextAfter(address)) queueAddress(*next, queue_);
  }
  if (const auto warning = health_.pageRead(number, report)) watcher_.statusChanged(*warning);
}

PageReport Run::readWithJobReader(const std::string& page) {
  const ReaderContext context{*this, rules_, sites_, stop_};
  switch (request_.job) {
    case Job::Offers: return OfferReader(context).read(page);
    case Job::Buyers: return BuyerReader(context, itemTitle_, request_.itemAddress).read(page);
    case Job::Sellers: break;
  }
  return SellerReader(context, request_.levelFilter).read(page);
}

void Run::rowFound(const ResultRow& row) { watcher_.rowFound(row, ++rows_); }

std::string Run::lookupPage(const std::string& address) {
  PageRequest request = PageRequest::wholeAddress(address);
  // A stop ends this download too, so that no row of a stopped run comes
  // after its end.
  request.abortFlag = &stop_.flag();
  try {
    return downloadPage(request).text;
  } catch (const std::exception& failure) {
    // Aborted by the stop (or the program closing): the record in hand ends
    // with the page; it did not fail.
    if (stopRequested()) throw ScanStopped();
    throw LookupFailed(literals::downloadFailedReport(address, failure.what()));
  }
}

void Run::reportFailure(const std::string& report) { watcher_.failureReported(report); }

OutcomeKind Run::decide() const {
  std::lock_guard lock(mutex_);
  if (stopRequested()) return OutcomeKind::Stopped;
  if (pagesDownloaded_ == 0) return OutcomeKind::NothingDownloaded;
  if (extractionsFailed_ == pagesDownloaded_) return OutcomeKind::ExtractionsFailed;
  if (failedPage_) return OutcomeKind::PageFailed;
  if (resultsEndedAt_ > 0) return OutcomeKind::ResultsEnded;
  return OutcomeKind::Finished;
}

void Run::end(OutcomeKind kind) {
  RunOutcome outcome;
  outcome.kind = kind;
  outcome.job = request_.job;
  outcome.pagesDownloaded = pagesDownloaded_;
  outcome.extractionsFailed = extractionsFailed_;
  {
    std::lock_guard lock(mutex_);
    outcome.failedPage = failedPage_;
    outcome.resultsEndedAt = resultsEndedAt_;
  }
  // The status line keeps what the run found and, when something looks
  // wrong, which rule is suspect, after how the run ended.
  const std::string summary = health_.endOfRun();
  outcome.health = health_.report();
  const FailedPage failed = outcome.failedPage.value_or(FailedPage{1, {}, {}, literals::downloadReason(literals::DownloadReason::Other, 0)});
  const int rows = rows_;
  std::string opening;
  switch (kind) {
    case OutcomeKind::Finished:
      outcome.message = std::string(literals::kRunFinished);
      break;
    case OutcomeKind::ResultsEnded:
      opening = literals::resultsEndedOpening(outcome.resultsEndedAt, request_.job == Job::Buyers);
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
      if (request_.job == Job::Buyers && failed.number == 0) {
        opening = literals::itemPageFailedOpening(failed.reason);
        outcome.message = itemPageFailureMessage(gbk::printable(failed.address), gbk::printable(failed.detail));
      } else {
        opening = literals::nothingDownloadedOpening(failed.reason);
        outcome.message = literals::nothingDownloadedMessage(failed.reason) + supportLines(failed);
      }
      break;
    case OutcomeKind::NotAnItemPage:
      opening = literals::notAnItemPageOpening();
      outcome.message = literals::notAnItemPageMessage() + "\r\n\r\n" + gbk::printable(request_.itemAddress);
      break;
    case OutcomeKind::ExtractionsFailed:
      opening = literals::extractionsFailedOpening();
      outcome.message = literals::extractionsFailedMessage(rows);
      break;
  }
  outcome.statusLine = opening.empty() ? summary : literals::openedLine(opening, summary);
  {
    std::lock_guard lock(mutex_);
    outcome_ = outcome;
  }
  watcher_.runEnded(outcome);
}

}  // namespace gleaner
