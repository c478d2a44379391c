#include "app/MainWindowSession.h"

#include <wx/app.h>

#include <cstdio>

#include "app/MainDialog.h"
#include "engine/RunController.h"
#include "store/StoreWriter.h"

namespace gleaner {

MainWindowSession::MainWindowSession(const Sites& sites, const std::optional<std::filesystem::path>& store)
    : store_(store ? std::make_unique<StoreWriter>(*store) : nullptr),
      dialog_(new MainDialog(sites)),
      controller_(std::make_unique<RunController>(*dialog_, sites, dialog_->pauseSwitch())) {
  dialog_->setRunController(controller_.get());
  if (store_) dialog_->attachStore(store_.get());
}

MainWindowSession::~MainWindowSession() {
  if (!threadsEnded_ && !shutDown()) {
    // A thread may still call the window: both stay alive for it.
    std::fputs("gleaner: the runs did not end in time; leaving them to the process exit\n", stderr);
    (void)controller_.release();
    closeStore();
    return;
  }
  closeStore();
  controller_.reset();
  dialog_->setRunController(nullptr);
  dialog_->Destroy();
}

void MainWindowSession::runModal() {
  dialog_->CallAfter([dialog = dialog_] { dialog->offerRestore(); });
  dialog_->ShowModal();
  shutDown();
}

bool MainWindowSession::shutDown(std::chrono::milliseconds limit) {
  dialog_->decideClose();
  const auto pump = [] {
    if (wxTheApp != nullptr) wxTheApp->ProcessPendingEvents();
  };
  threadsEnded_ = controller_->shutdown(pump, limit);
  if (threadsEnded_) closeStore();
  return threadsEnded_;
}

void MainWindowSession::closeStore() {
  if (!store_) return;
  // No change reaches the store after this; then what is queued is written.
  dialog_->detachStore();
  store_->close(threadsEnded_);
  store_.reset();
}

}  // namespace gleaner
