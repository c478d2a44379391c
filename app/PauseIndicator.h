// Shows a requested pause. The request outlives runs (a pause pressed, then
// stop, holds the next run after its first page), so it must be visible:
// while it stands the pause/continue button stays down and the status line
// says the collection is held, whatever the run writes there meanwhile; the
// run's latest line comes back when the pause is lifted.
#pragma once

#include <wx/string.h>

class wxStaticText;
class wxToggleButton;

namespace gleaner {

class PauseIndicator {
 public:
  PauseIndicator(wxToggleButton& button, wxStaticText& statusLine);

  // A status line from the run; shown at once unless a pause stands.
  void setRunStatus(const wxString& text);
  void setPaused(bool paused);

  bool paused() const { return paused_; }
  const wxString& runStatus() const { return runStatus_; }

 private:
  void show();

  wxToggleButton& button_;
  wxStaticText& statusLine_;
  wxString runStatus_;
  bool paused_ = false;
};

}  // namespace gleaner
