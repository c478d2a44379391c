#pragma once

#include <memory>

namespace gleaner {

class MainThread;

// One worker: takes one address from the run's queue, downloads the page,
// hands it to the extractor of the run's job, queues the next page by the
// job's rule (unless the run was stopped) and gives its slot back.
void WorkerProc(std::shared_ptr<MainThread> run);

}  // namespace gleaner
