#include "store/RowTable.h"

#include <cstring>
#include <stdexcept>

namespace gleaner {

RowTable::Entry RowTable::pack(const ResultRow& row) {
  std::size_t total = 0;
  for (const std::string& cell : row) total += cell.size();
  if (total > UINT32_MAX) throw std::length_error("a row of more than 4 GiB");
  char* data;
  if (total > freeSize_) {
    // A row larger than a quarter block gets a block of its own, so the
    // current block's free space is not thrown away for it.
    if (total > kBlockSize / 4) {
      blocks_.push_back(std::make_unique<char[]>(total));
      data = blocks_.back().get();
    } else {
      blocks_.push_back(std::make_unique<char[]>(kBlockSize));
      free_ = blocks_.back().get();
      freeSize_ = kBlockSize;
      data = free_;
      free_ += total;
      freeSize_ -= total;
    }
  } else {
    data = free_;
    free_ += total;
    freeSize_ -= total;
  }
  Entry entry{data, {}};
  std::uint32_t at = 0;
  for (std::size_t c = 0; c < std::tuple_size_v<ResultRow>; ++c) {
    if (!row[c].empty()) std::memcpy(data + at, row[c].data(), row[c].size());
    at += static_cast<std::uint32_t>(row[c].size());
    entry.ends[c] = at;
  }
  return entry;
}

void RowTable::append(const ResultRow& row) { entries_.push_back(pack(row)); }

void RowTable::truncate(std::size_t count) {
  // The cells' bytes stay in their blocks until clear(): a resumed run drops
  // only the rows of the page it reads again.
  if (count < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(count), entries_.end());
}

void RowTable::clear() {
  // Swapped out, so that the memory goes back at once.
  std::deque<Entry>().swap(entries_);
  std::vector<std::unique_ptr<char[]>>().swap(blocks_);
  free_ = nullptr;
  freeSize_ = 0;
}

std::string_view RowTable::cell(std::size_t index, std::size_t column) const {
  const Entry& e = entries_[index];
  const std::uint32_t begin = column == 0 ? 0 : e.ends[column - 1];
  return std::string_view(e.data + begin, e.ends[column] - begin);
}

ResultRow RowTable::row(std::size_t index) const {
  ResultRow row;
  for (std::size_t c = 0; c < std::tuple_size_v<ResultRow>; ++c) row[c] = std::string(cell(index, c));
  return row;
}

}  // namespace gleaner
