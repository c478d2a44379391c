#include "app/PauseIndicator.h"

#include <wx/stattext.h>
#include <wx/tglbtn.h>

#include "res/AppTexts.h"

namespace gleaner {

PauseIndicator::PauseIndicator(wxToggleButton& button, wxStaticText& statusLine)
    : button_(button), statusLine_(statusLine), runStatus_(statusLine.GetLabel()) {
  show();
}

void PauseIndicator::setRunStatus(const wxString& text) {
  runStatus_ = text;
  show();
}

void PauseIndicator::setPaused(bool paused) {
  paused_ = paused;
  show();
}

void PauseIndicator::show() {
  // A click flips the button by itself; it must follow the request, not the click.
  button_.SetValue(paused_);
  const wxString line = paused_ ? wxString::FromUTF8(res::kPausedStatus) : runStatus_;
  if (statusLine_.GetLabel() != line) statusLine_.SetLabel(line);
}

}  // namespace gleaner
