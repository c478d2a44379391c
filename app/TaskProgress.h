// The progress of a long task run on the user-interface thread (an export,
// a restore): a progress dialog with a cancel button, shown only for a task
// over showFrom rows, so that small lists never flash one.
#pragma once

#include <wx/string.h>

#include <cstddef>
#include <memory>

class wxProgressDialog;
class wxWindow;

namespace gleaner {

class TaskProgress {
 public:
  // messageFormat is UTF-8 with two %zu: rows done, rows in all.
  TaskProgress(wxWindow* parent, const char* title, const char* messageFormat, std::size_t showFrom);
  ~TaskProgress();

  // False once the user has cancelled.
  bool update(std::size_t done, std::size_t total);

 private:
  wxWindow* parent_;
  wxString title_;
  const char* messageFormat_;
  std::size_t showFrom_;
  std::unique_ptr<wxProgressDialog> dialog_;
};

}  // namespace gleaner
