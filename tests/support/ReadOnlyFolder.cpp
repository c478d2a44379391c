#include "support/ReadOnlyFolder.h"

#include <fstream>
#include <system_error>

#if defined(__linux__)
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
// after windows.h
#include <aclapi.h>
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
#elif defined(_WIN32)
// The folder's security descriptor (its access list), to put back later;
// empty when it cannot be read.
std::vector<unsigned char> readAccess(const std::filesystem::path& folder) {
  DWORD size = 0;
  GetFileSecurityW(folder.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<unsigned char> descriptor(size);
  if (size == 0 || !GetFileSecurityW(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size)) {
    return {};
  }
  return descriptor;
}

// Puts an entry that denies everyone new files and folders ahead of the
// folder's access list.
bool denyNewFiles(const std::filesystem::path& folder) {
  PACL current = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &current,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  bool ok = AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone) != FALSE;
  PACL denying = nullptr;
  if (ok) {
    EXPLICIT_ACCESSW deny{};
    deny.grfAccessPermissions = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;
    deny.grfAccessMode = DENY_ACCESS;
    deny.grfInheritance = NO_INHERITANCE;
    deny.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    deny.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    deny.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
    ok = SetEntriesInAclW(1, &deny, current, &denying) == ERROR_SUCCESS &&
         SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, denying, nullptr) == ERROR_SUCCESS;
  }
  if (denying != nullptr) LocalFree(denying);
  if (everyone != nullptr) FreeSid(everyone);
  LocalFree(descriptor);
  return ok;
}
#endif

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
#if defined(_WIN32)
  savedAccess_ = readAccess(folder_);
  if (!savedAccess_.empty()) denyNewFiles(folder_);
#else
  std::error_code error;
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec,
                               error);
#if defined(__linux__)
  if (canCreateFileIn(folder_)) immutable_ = setImmutable(folder_, true);
#endif
#endif
  active_ = !canCreateFileIn(folder_);
}

ReadOnlyFolder::~ReadOnlyFolder() {
#if defined(_WIN32)
  if (!savedAccess_.empty()) SetFileSecurityW(folder_.c_str(), DACL_SECURITY_INFORMATION, savedAccess_.data());
#else
#if defined(__linux__)
  if (immutable_) setImmutable(folder_, false);
#endif
  std::error_code ignored;
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
#endif
}

}  // namespace gleaner::testing
