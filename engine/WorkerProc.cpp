#include "engine/WorkerProc.h"

#include <optional>
#include <string>

#include "engine/MainThread.h"
#include "engine/MainWindowView.h"
#include "engine/NextPageRule.h"
#include "engine/PageFetcher.h"
#include "extract/PageExtractor.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

// Reads one downloaded page with the extractor of the job of the tab that is
// selected now (the job is not remembered from the run's start) and queues
// the next page before the slot is given back, so the run loop never sees an
// empty queue and no worker between a page and its successor.
void handlePage(MainThread& run, PageExtractor& extractor, const std::string& address, const std::string& page) {
  MainWindowView& window = run.window();
  RunFields& fields = window.runFields();
  switch (collectionModeOfTab(window.selectedTabIndex())) {
    case CollectionMode::OfferSearch:
      window.setStatusText(literals::collectingPage(++fields.offerPageCounter));
      extractor.OfferListExtractor(page);
      applyOfferRule(address, run.offerPagesText, run.state);
      break;
    case CollectionMode::ItemBuyers:
      extractor.BuyerListExtractor(page);
      applyBuyersRule(address, run.state);
      break;
    case CollectionMode::SellerSearch:
      window.setStatusText(literals::collectingPage(++fields.sellerPageCounter));
      extractor.SellerExtractor(page);
      applySellerRule(address, run.sellerPagesText, run.state);
      break;
    case CollectionMode::None:
      break;
  }
}

}  // namespace

void WorkerProc(std::shared_ptr<MainThread> run) {
  MainWindowView& window = run->window();
  PageExtractor extractor(window, run->sites());
  std::string address;
  if (!run->state.popAddress(address)) {
    run->state.releaseWorker();
    return;
  }
  const std::optional<std::string> page = PageFetcher(address, run->state, window);
  if (!page) return;  // the fetcher released the slot and reported
  ++run->summary_->pagesDownloaded;
  try {
    handlePage(*run, extractor, address, *page);
  } catch (const std::exception& failure) {
    // The extractors contain their own failures; this is the last line, so
    // that the slot is always given back and the run can end.
    window.reportStatus(address + "\r\n" + failure.what() + "\r\n", false);
  }
  run->state.releaseWorker();
}

}  // namespace gleaner
