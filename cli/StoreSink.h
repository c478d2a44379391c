// --store FILE: the runner's list kept in a result store as rows are found,
// with the run's request and, at its end, its outcome, so that a script can
// read what was found even after a crash or a kill. A store that cannot be
// opened or written is told once on standard error; the run and its output
// go on as without the store.
#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>

#include "cli/RowSink.h"
#include "engine/RunOutcome.h"
#include "engine/RunProgress.h"
#include "engine/RunRequest.h"
#include "engine/RunWatcher.h"
#include "store/StoreWriter.h"

namespace gleaner::cli {

class StoreSink : public RowSink {
 public:
  explicit StoreSink(const std::filesystem::path& path);

  // The list becomes the run's, without rows or with the rows a resumed run
  // keeps; the store keeps the request.
  void runStarted(const RunRequest& request, const RunStart& start);
  // Where the run stands, as each page is asked for.
  void progressChanged(const RunProgress& progress);
  void runEnded(const RunOutcome& outcome);

  // --- RowSink ---
  void append(const ResultRow& row) noexcept override;
  // The store's faults are told, never the run's failure.
  bool failed() const override { return false; }

  // Writes what is queued and records a clean end.
  void close();

 private:
  void tellFault();

  StoreWriter writer_;
  std::mutex order_;  // rows keep their index order
  std::size_t rows_ = 0;
  std::atomic<bool> told_{false};
};

}  // namespace gleaner::cli
