#include "support/FileSizeLimit.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace gleaner::testing {

#ifndef _WIN32

FileSizeLimit::FileSizeLimit(std::size_t bytes) {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return;
  previous_ = limit.rlim_cur;
  previousHandler_ = signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  if (active_ && getrlimit(RLIMIT_FSIZE, &limit) == 0) {
    limit.rlim_cur = previous_;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  signal(SIGXFSZ, previousHandler_);
}

#else

FileSizeLimit::FileSizeLimit(std::size_t) {}
FileSizeLimit::~FileSizeLimit() = default;

#endif

}  // namespace gleaner::testing
