// The sample site's only source of variety: a small generator seeded from the
// request's own values (keyword and page, an item id…), so that the same
// request always gives the same page, on every platform.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace gleaner::sample {

class SampleRandom {
 public:
  explicit SampleRandom(std::uint64_t seed) : state_(seed) {}
  // Seeded from a text and a number (keyword and page, say).
  SampleRandom(std::string_view text, std::uint64_t number);

  std::uint64_t next();
  // A value in [low, high], both included.
  long long between(long long low, long long high);
  bool chance(int percent) { return between(1, 100) <= percent; }

  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(between(0, static_cast<long long>(items.size()) - 1))];
  }

  static std::uint64_t hash(std::string_view text);

 private:
  std::uint64_t state_;
};

}  // namespace gleaner::sample
