// The batch box (template 137): the keywords, or the item addresses, a job
// walks one after another, one per line. They can be typed, pasted or
// loaded from a text file (UTF-8 or GBK); the box counts them as they change.
#pragma once

#include <wx/dialog.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace gleaner {

class BatchDialog : public wxDialog {
 public:
  // items: item addresses (the buyers tab) rather than keywords. entries:
  // the batch queued so far (GBK).
  BatchDialog(wxWindow* parent, bool items, const std::vector<std::string>& entries);

  // The entries as they stand (GBK), trimmed, without blank and # lines.
  std::vector<std::string> entries() const;

  // Puts a list file's entries in the box in place of what it held. False
  // (the box unchanged, the user told why) when it cannot be read.
  bool loadFile(const std::filesystem::path& path);

  // Shows a refusal to load; a message box by default.
  void setMessagePresenter(std::function<void(const wxString&)> presenter) { presentMessage_ = std::move(presenter); }

  // The files loaded are lists, not documents: larger ones are refused.
  static constexpr std::uintmax_t kLargestFile = 16u << 20;

 private:
  void chooseFile();
  void showCount();
  void tell(const wxString& text);

  bool items_;
  std::function<void(const wxString&)> presentMessage_;
};

}  // namespace gleaner
