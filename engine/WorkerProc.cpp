#include "engine/WorkerProc.h"

#include <optional>
#include <string>

#include "engine/MainThread.h"
#include "engine/MainWindowView.h"
#include "engine/NextPageRule.h"
#include "engine/PageFetcher.h"
#include "extract/PageExtractor.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

// Reads one downloaded page with the extractor of the run's job (fixed when
// the run started, whatever tab is selected now) and queues the next page
// before the slot is given back, so the run loop never sees an empty queue
// and no worker between a page and its successor. A stopped run queues
// nothing more. A page that calls for a rule-health warning puts it on the
// status line. False when a failure ended the page's extraction.
bool handlePage(MainThread& run, PageExtractor& extractor, const std::string& address, const std::string& page,
                int pageOfRun) {
  MainWindowView& window = run.window();
  RunFields& fields = window.runFields();
  bool extracted = true;
  int pageNumber = pageOfRun;  // the review pages have no status line of their own
  switch (run.mode()) {
    case CollectionMode::OfferSearch:
      pageNumber = ++fields.offerPageCounter;
      window.setStatusText(literals::collectingPage(pageNumber));
      extracted = extractor.OfferListExtractor(page);
      if (!run.stopRequested()) applyOfferRule(address, run.offerPagesText, run.state);
      break;
    case CollectionMode::ItemBuyers:
      extracted = extractor.BuyerListExtractor(page);
      if (!run.stopRequested()) applyBuyersRule(address, run.state);
      break;
    case CollectionMode::SellerSearch:
      pageNumber = ++fields.sellerPageCounter;
      window.setStatusText(literals::collectingPage(pageNumber));
      extracted = extractor.SellerExtractor(page);
      if (!run.stopRequested()) applySellerRule(address, run.sellerPagesText, run.state);
      break;
    case CollectionMode::None:
      return true;
  }
  if (const auto warning = run.health().pageRead(pageNumber, extractor.pageReport())) {
    window.setStatusText(*warning);
  }
  return extracted;
}

}  // namespace

void WorkerProc(std::shared_ptr<MainThread> run) {
  MainWindowView& window = run->window();
  PageExtractor extractor(window, run->sites(), run->context);
  std::string address;
  if (!run->state.popAddress(address)) {
    run->state.releaseWorker();
    return;
  }
  const std::optional<std::string> page = PageFetcher(address, run->state, window, &run->context.stop);
  if (!page) return;  // the fetcher released the slot and reported
  const int pageOfRun = ++run->summary_->pagesDownloaded;
  try {
    if (!handlePage(*run, extractor, address, *page, pageOfRun)) ++run->summary_->extractionsFailed;
  } catch (const std::exception& failure) {
    // The extractors contain their own failures; this is the last line, so
    // that the slot is always given back and the run can end.
    ++run->summary_->extractionsFailed;
    window.reportStatus(gbk::printable(address) + "\r\n" + gbk::printable(failure.what()) + "\r\n", false);
  }
  run->state.releaseWorker();
}

}  // namespace gleaner
