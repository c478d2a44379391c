// The save dialog of an export. It opens in the folder given (the one last
// exported to), proposes "采集结果.xlsx", swaps the proposed name's extension
// when the file type is switched, and turns what the user typed into the
// file to write (ExportTarget): a typed .xlsx or .csv decides the format.
// Where the name to write is not the one the dialog returned (an extension
// added after it closed, or one it appended taken off again) and that file
// exists, the user is asked before it is replaced; 否 goes back to the
// dialog.
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

  // What the save dialog returned.
  struct Answer {
    wxString path;
    int filterIndex = 0;
  };
  // Shows a save dialog opening in folder with name proposed and the file
  // type filterIndex chosen; nothing when the user cancels it.
  using SaveDialog = std::function<std::optional<Answer>(const wxString& folder, const wxString& name, int filterIndex)>;

  // nullopt when the user cancels.
  static std::optional<ExportTarget> choose(wxWindow* parent, const Question& ask, const wxString& folder);
  static std::optional<ExportTarget> choose(const SaveDialog& dialog, const Question& ask, const wxString& folder);

  // The target of what the dialog returned.
  static ExportTarget resolve(const wxString& returnedPath, int filterIndex);

  // The name the user typed, where the native dialog of Windows appended
  // the chosen type's extension to a typed .xlsx or .csv ("核桃.csv.xlsx"
  // for 核桃.csv): the appended extension taken off. Other names as they are.
  static wxString typedName(const wxString& returnedName, int filterIndex);

  // Makes a save dialog swap the proposed name's extension when its file
  // type changes, for as long as the returned timer lives. Needed on GTK,
  // whose dialog leaves the name alone; elsewhere the native dialog is left
  // as it is and the result is null.
  static std::unique_ptr<wxTimer> followFileType(wxFileDialog& dialog);
};

}  // namespace gleaner
