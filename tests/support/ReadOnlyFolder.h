// Makes a folder refuse new files for as long as the object lives, for tests
// of what happens when a file cannot be created there. Root ignores file
// modes, so for root the folder is made immutable instead (Linux). Where
// neither works, active() is false and the test is skipped.
#pragma once

#include <filesystem>

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
};

}  // namespace gleaner::testing
