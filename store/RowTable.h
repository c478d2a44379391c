// The rows of a list in memory: the cells' bytes packed into large blocks,
// and one small entry per row. Appending costs the same at row 1 and at row
// 1,000,000: no block is ever moved, and the entries live in a deque.
// Not thread-safe; the ResultModel guards it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "text/Job.h"
#include "text/ResultRow.h"

namespace gleaner {

class RowTable {
 public:
  RowTable() = default;
  RowTable(RowTable&&) noexcept = default;
  RowTable& operator=(RowTable&&) noexcept = default;

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  void append(const ResultRow& row);
  // Keeps the first count rows.
  void truncate(std::size_t count);
  void clear();

  std::string_view cell(std::size_t index, std::size_t column) const;
  ResultRow row(std::size_t index) const;

 private:
  struct Entry {
    const char* data;
    std::uint32_t ends[std::tuple_size_v<ResultRow>];  // cell c is [c ? ends[c-1] : 0, ends[c])
  };

  Entry pack(const ResultRow& row);

  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;      // next free byte of the current block
  std::size_t freeSize_ = 0;  // bytes left in it
  std::deque<Entry> entries_;
};

}  // namespace gleaner
