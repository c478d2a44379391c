// Caps the size of files this process writes, for as long as the object
// lives: a write past the cap fails as on a full disk (EFBIG) instead of
// ending the process. POSIX only; elsewhere active() is false.
#pragma once

#include <cstddef>

namespace gleaner::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool active() const { return active_; }

 private:
  bool active_ = false;
  unsigned long long previous_ = 0;
  void (*previousHandler_)(int) = nullptr;
};

}  // namespace gleaner::testing
