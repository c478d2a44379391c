// Makes a folder refuse new files for as long as the object lives, for tests
// of what happens when a file cannot be created there. Root ignores file
// modes, so for root the folder is made immutable instead (Linux). On
// Windows an entry that denies everyone new files goes first in the
// folder's access list. Where none of this works, active() is false and the
// test is skipped.
#pragma once

#include <filesystem>
#include <vector>

namespace gleaner::testing {

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::filesystem::path folder);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  // True when a new file in the folder is refused.
  bool active() const { return active_; }

 private:
  std::filesystem::path folder_;
  bool active_ = false;
  bool immutable_ = false;
  std::vector<unsigned char> savedAccess_;  // Windows: the folder's own security descriptor
};

}  // namespace gleaner::testing
