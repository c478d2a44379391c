#include "engine/ProcessValues.h"

namespace gleaner {

std::atomic<bool> PauseRequested{false};
std::atomic<int> PageCursor{0};
std::atomic<int> ReviewPagesQueued{0};

}  // namespace gleaner
