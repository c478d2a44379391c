#include "app/TaskProgress.h"

#include <wx/progdlg.h>

#include <cstdio>

namespace gleaner {

TaskProgress::TaskProgress(wxWindow* parent, const char* title, const char* messageFormat, std::size_t showFrom)
    : parent_(parent), title_(wxString::FromUTF8(title)), messageFormat_(messageFormat), showFrom_(showFrom) {}

TaskProgress::~TaskProgress() = default;

bool TaskProgress::update(std::size_t done, std::size_t total) {
  if (total < showFrom_) return true;
  char text[256];
  std::snprintf(text, sizeof text, messageFormat_, done, total);
  const int permille = total == 0 ? 1000 : static_cast<int>(std::min<std::size_t>(1000, done * 1000 / total));
  if (!dialog_) {
    dialog_ = std::make_unique<wxProgressDialog>(title_, wxString::FromUTF8(text), 1000, parent_,
                                                 wxPD_APP_MODAL | wxPD_AUTO_HIDE | wxPD_CAN_ABORT | wxPD_ELAPSED_TIME |
                                                     wxPD_REMAINING_TIME);
  }
  return dialog_->Update(permille, wxString::FromUTF8(text));
}

}  // namespace gleaner
