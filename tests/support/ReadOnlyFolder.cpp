#include "support/ReadOnlyFolder.h"

#include <fstream>
#include <system_error>

#if defined(__linux__)
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace gleaner::testing {
namespace {

bool canCreateFileIn(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / ".probe";
  const bool created = static_cast<bool>(std::ofstream(probe));
  std::error_code ignored;
  std::filesystem::remove(probe, ignored);
  return created;
}

#if defined(__linux__)
bool setImmutable(const std::filesystem::path& folder, bool on) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}
#endif

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
  std::error_code error;
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec,
                               error);
#if defined(__linux__)
  if (canCreateFileIn(folder_)) immutable_ = setImmutable(folder_, true);
#endif
  active_ = !canCreateFileIn(folder_);
}

ReadOnlyFolder::~ReadOnlyFolder() {
#if defined(__linux__)
  if (immutable_) setImmutable(folder_, false);
#endif
  std::error_code ignored;
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
}

}  // namespace gleaner::testing
