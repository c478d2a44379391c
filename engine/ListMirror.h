// Told of every change of a result list kept in memory, in the list's order
// and as one unit with it: the headless runner keeps a result store this way.
#pragma once

#include <cstddef>

#include "engine/CollectionMode.h"
#include "extract/ExtractorWindow.h"

namespace gleaner {

class ListMirror {
 public:
  virtual ~ListMirror() = default;
  virtual void columnsSet(CollectionMode mode) = 0;
  virtual void rowsDeleted() = 0;
  virtual void rowAppended(std::size_t index, const ResultRow& row) = 0;
  // A row inserted before others (inserted) or one whose cells changed.
  virtual void rowChanged(std::size_t index, const ResultRow& row, bool inserted) = 0;
};

}  // namespace gleaner
