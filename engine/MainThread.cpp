#include "engine/MainThread.h"

#include <chrono>

#include "engine/FailureMessages.h"
#include "engine/MainWindowView.h"
#include "engine/ProcessValues.h"
#include "engine/SearchRequestBuilder.h"
#include "engine/SimpleFetch.h"
#include "engine/ThreadGroup.h"
#include "engine/WorkerProc.h"
#include "extract/PageExtractor.h"
#include "text/GbkText.h"
#include "text/Literals.h"

namespace gleaner {

namespace {

constexpr auto kTick = std::chrono::milliseconds(100);
constexpr auto kEndWait = std::chrono::milliseconds(1000);

}  // namespace

MainThread::MainThread(MainWindowView& window, Sites sites, std::shared_ptr<ThreadGroup> threads)
    : window_(window), sites_(std::move(sites)), threads_(std::move(threads)) {
  context.ruleObserver = &summary_->health.ruleObserver();
}

void MainThread::Run() {
  if (!StartRun()) ExitInstance();
}

bool MainThread::StartRun() {
  PageCursor = 0;
  ReviewPagesQueued = 0;
  bool goesAhead = true;
  mode_ = collectionModeOfTab(window_.selectedTabIndex());
  switch (mode_) {
    case CollectionMode::OfferSearch: goesAhead = startOfferSearch(); break;
    case CollectionMode::ItemBuyers: goesAhead = startItemBuyers(); break;
    case CollectionMode::SellerSearch: goesAhead = startSellerSearch(); break;
    case CollectionMode::None: break;  // no job: the empty first address fails in the worker
  }
  if (!goesAhead) return false;
  summary_->outcome = Outcome::Walking;
  RunLoop(firstAddress);
  return true;
}

bool MainThread::startOfferSearch() {
  window_.setJobColumns(CollectionMode::OfferSearch);
  window_.deleteAllRows();
  RunFields& fields = window_.runFields();
  fields.offerRowCounter = 0;
  fields.offerPageCounter = 0;
  offerPagesText = window_.controlText(TabPage::Search, ids::kSearchPages);
  const std::string keyword = window_.controlText(TabPage::Search, ids::kSearchKeyword);
  if (keyword.empty()) {
    refuse(literals::kFillKeyword);
    return false;
  }
  if (offerPagesText.empty()) {
    refuse(literals::kFillPageCount);
    return false;
  }
  firstAddress = offerSearchAddress(sites_, keyword, sortQueryPart(window_), filterQueryParts(window_));
  window_.enableCollectButton(false);
  return true;
}

bool MainThread::startItemBuyers() {
  window_.setJobColumns(CollectionMode::ItemBuyers);
  window_.deleteAllRows();
  window_.runFields().buyerRowCounter = 0;
  PageExtractor extractor(window_, sites_, context);
  const std::string itemAddress = window_.controlText(TabPage::ItemUrl, ids::kItemAddress);
  context.settings.itemAddress = itemAddress;
  std::string page;
  try {
    page = SimpleFetch(itemAddress, &context.stop);
  } catch (const std::exception& failure) {
    if (stopRequested()) {
      // Stopped while the item page was on its way: the run goes ahead with
      // nothing to walk and ends like any stopped run.
      window_.enableCollectButton(false);
      return true;
    }
    // Without the item page there is no review address to walk: the run ends
    // here, with the reason in front of the user, and collect stays enabled.
    summary_->outcome = Outcome::ItemPageFailed;
    window_.reportStatus(literals::downloadFailedReport(itemAddress, failure.what()), false);
    window_.showMessage(itemPageFailureMessage(gbk::printable(itemAddress), gbk::printable(failure.what())));
    return false;
  }
  const std::string probe = extractor.ItemPageProbe(page);
  firstAddress = gbk::before(probe, "#");
  itemTitleText = gbk::after(probe, "#");
  context.settings.itemTitle = itemTitleText;
  window_.runFields().setItemTitle(itemTitleText);
  window_.enableCollectButton(false);
  return true;
}

bool MainThread::startSellerSearch() {
  window_.setJobColumns(CollectionMode::SellerSearch);
  window_.deleteAllRows();
  RunFields& fields = window_.runFields();
  fields.sellerRowCounter = 0;
  fields.sellerPageCounter = 0;
  const std::string keyword = window_.controlText(TabPage::SellerSearch, ids::kSellerKeyword);
  sellerPagesText = window_.controlText(TabPage::SellerSearch, ids::kSellerPages);
  sellerLevelText = window_.controlText(TabPage::SellerSearch, ids::kSellerLevel);
  context.settings.levelFilterText = sellerLevelText;
  fields.setLevelFilterText(sellerLevelText);
  if (keyword.empty()) {
    refuse(literals::kFillKeyword);
    return false;
  }
  firstAddress = sellerSearchAddress(sites_, keyword);
  window_.enableCollectButton(false);
  return true;
}

void MainThread::refuse(std::string_view message) {
  summary_->outcome = Outcome::Refused;
  window_.showMessage(std::string(message));
}

void MainThread::RunLoop(const std::string& first) {
  state.pushAddress(first);
  if (state.acquireWorker()) startWorker();
  while (!stopRequested() && !threads_->shuttingDown()) {
    if (state.allHandedOutAndNoWorker()) break;
    threads_->sleepFor(kTick);
    if (!PauseRequested && state.acquireWorkerForWaitingAddress()) startWorker();
  }
  threads_->sleepFor(kEndWait);
  summary_->outcome = Outcome::Finished;
  // The status line keeps what the run found and, when something looks
  // wrong, which rule is suspect; the end message itself stays as it is.
  window_.setStatusText(summary_->health.endOfRun());
  window_.showMessage(std::string(literals::kRunFinished));
  ExitInstance();
}

void MainThread::ExitInstance() { window_.enableCollectButton(true); }

void MainThread::startWorker() {
  auto self = shared_from_this();
  if (!threads_->start([self] { WorkerProc(self); })) state.releaseWorker();
}

}  // namespace gleaner
