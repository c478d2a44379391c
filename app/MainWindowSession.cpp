#include "app/MainWindowSession.h"

#include <wx/app.h>

#include <cstdio>

#include "app/MainDialog.h"
#include "engine/RunController.h"

namespace gleaner {

MainWindowSession::MainWindowSession(const Sites& sites)
    : dialog_(new MainDialog(sites)), controller_(std::make_unique<RunController>(*dialog_, sites)) {
  dialog_->setRunController(controller_.get());
}

MainWindowSession::~MainWindowSession() {
  if (!threadsEnded_ && !shutDown()) {
    // A thread may still call the window: both stay alive for it.
    std::fputs("gleaner: the runs did not end in time; leaving them to the process exit\n", stderr);
    (void)controller_.release();
    return;
  }
  controller_.reset();
  dialog_->setRunController(nullptr);
  dialog_->Destroy();
}

void MainWindowSession::runModal() {
  dialog_->ShowModal();
  shutDown();
}

bool MainWindowSession::shutDown(std::chrono::milliseconds limit) {
  dialog_->decideClose();
  const auto pump = [] {
    if (wxTheApp != nullptr) wxTheApp->ProcessPendingEvents();
  };
  threadsEnded_ = controller_->shutdown(pump, limit);
  return threadsEnded_;
}

}  // namespace gleaner
