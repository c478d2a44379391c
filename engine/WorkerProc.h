#pragma once

#include <memory>

namespace gleaner {

class MainThread;

// One worker: takes one address from the run's queue, downloads the page,
// hands it to the extractor of the job of the tab selected now, queues the
// next page by the job's rule and gives its slot back.
void WorkerProc(std::shared_ptr<MainThread> run);

}  // namespace gleaner
