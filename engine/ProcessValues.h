// The values one per process that every run shares. Atomic, because a worker
// of a stopped run may still be finishing its page while the next run starts.
#pragma once

#include <atomic>

namespace gleaner {

// Set and cleared by the pause/continue button; read by the run loop. A run
// does not reset it: a pause pressed before collect holds the next run after
// its first page.
extern std::atomic<bool> PauseRequested;

// Offer search: pages done; the next page is one more. Seller search: the
// result offset of the latest page queued (the first page has offset 0).
// 0 at every run's start.
extern std::atomic<int> PageCursor;

// Buyers: review pages queued so far. 0 at every run's start.
extern std::atomic<int> ReviewPagesQueued;

}  // namespace gleaner
