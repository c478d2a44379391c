// The folder last exported to, remembered across starts in a small UTF-8
// file beside the result store, so that the save dialog opens there.
#pragma once

#include <wx/string.h>

#include <filesystem>
#include <optional>

namespace gleaner {

class ExportFolderMemory {
 public:
  // file: where the folder is kept; none: nothing is remembered.
  explicit ExportFolderMemory(std::optional<std::filesystem::path> file) : file_(std::move(file)) {}

  // The file kept beside a result store.
  static std::filesystem::path besideStore(const std::filesystem::path& store);

  // The folder last exported to, while it still exists; empty otherwise.
  wxString recall() const;
  // Remembers the folder of an export just written; a failure to keep it is not the user's concern.
  void remember(const std::filesystem::path& folder) const;

 private:
  std::optional<std::filesystem::path> file_;
};

}  // namespace gleaner
