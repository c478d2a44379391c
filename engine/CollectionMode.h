#pragma once

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

}  // namespace gleaner
