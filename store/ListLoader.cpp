#include "store/ListLoader.h"

#include "store/ResultStore.h"

namespace gleaner {

std::optional<LoadedList> ListLoader::load(const std::filesystem::path& path, const Progress& progress) {
  ResultStore store(path, ResultStore::Access::ReadOnly);
  const StoreSummary summary = store.summary();
  LoadedList list;
  list.job = summary.job;
  list.columns = summary.columns;
  list.headings = summary.headings;
  bool givenUp = false;
  store.readRows(0, [&](std::size_t, ResultRow&& row) {
    list.rows.append(row);
    if (progress && list.rows.size() % kStep == 0 && !progress(list.rows.size(), summary.rows)) givenUp = true;
    return !givenUp;
  });
  if (givenUp) return std::nullopt;
  return list;
}

}  // namespace gleaner
