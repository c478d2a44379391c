// --store FILE: the runner's list kept in a result store as it changes, so
// that a script can read what was found even after a crash or a kill. A store
// that cannot be opened or written is told once on standard error; the run
// and its output go on as without the store.
#pragma once

#include <atomic>
#include <filesystem>

#include "engine/ListMirror.h"
#include "store/StoreWriter.h"

namespace gleaner::cli {

class StoreSink : public ListMirror {
 public:
  // The store starts as the runner's list does: no job, no rows.
  explicit StoreSink(const std::filesystem::path& path);

  void columnsSet(CollectionMode mode) override;
  void rowsDeleted() override;
  void rowAppended(std::size_t index, const ResultRow& row) override;
  void rowChanged(std::size_t index, const ResultRow& row, bool inserted) override;

  // Writes what is queued and records a clean end.
  void close();

 private:
  void tellFault();

  StoreWriter writer_;
  std::atomic<bool> told_{false};
};

}  // namespace gleaner::cli
