// The save dialog of an export. It proposes "采集结果.xlsx", swaps the
// proposed name's extension when the file type is switched, and turns what
// the user typed into the file to write (ExportTarget): an extension added
// after the dialog has closed makes a new name, so an existing file of that
// name is confirmed here before it would be replaced.
#pragma once

#include <wx/string.h>

#include <functional>
#include <memory>
#include <optional>

#include "export/ExportTarget.h"

class wxFileDialog;
class wxTimer;
class wxWindow;

namespace gleaner {

class ExportFileChooser {
 public:
  using Question = std::function<bool(const wxString& text)>;  // true: yes

  // nullopt when the user cancels, or does not want an existing file replaced.
  static std::optional<ExportTarget> choose(wxWindow* parent, const Question& ask);

  // After the dialog: the target of what it returned, confirmed if needed.
  static std::optional<ExportTarget> resolve(const wxString& typedPath, int filterIndex, const Question& ask);

  // Makes a save dialog swap the proposed name's extension when its file
  // type changes, for as long as the returned timer lives. Needed on GTK,
  // whose dialog leaves the name alone; elsewhere the native dialog is left
  // as it is and the result is null.
  static std::unique_ptr<wxTimer> followFileType(wxFileDialog& dialog);
};

}  // namespace gleaner
