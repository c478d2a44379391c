#pragma once

#include <array>
#include <string>

#include "text/Literals.h"

namespace gleaner {

// The job of a run, by the index of the selected tab.
enum class CollectionMode { None = -1, OfferSearch = 0, ItemBuyers = 1, SellerSearch = 2 };

inline CollectionMode collectionModeOfTab(int tabIndex) {
  switch (tabIndex) {
    case 0: return CollectionMode::OfferSearch;
    case 1: return CollectionMode::ItemBuyers;
    case 2: return CollectionMode::SellerSearch;
    default: return CollectionMode::None;
  }
}

// The result list's four columns of a job; null for no job.
inline const literals::ColumnSet* columnSetOf(CollectionMode mode) {
  switch (mode) {
    case CollectionMode::OfferSearch: return &literals::kOfferColumns;
    case CollectionMode::ItemBuyers: return &literals::kBuyerColumns;
    case CollectionMode::SellerSearch: return &literals::kSellerColumns;
    case CollectionMode::None: break;
  }
  return nullptr;
}

// The headings of those columns (GBK); empty texts for no job.
inline std::array<std::string, 4> columnHeadingsOf(CollectionMode mode) {
  std::array<std::string, 4> headings;
  if (const literals::ColumnSet* set = columnSetOf(mode)) {
    for (std::size_t c = 0; c < headings.size(); ++c) headings[c] = std::string((*set)[c].header);
  }
  return headings;
}

}  // namespace gleaner
