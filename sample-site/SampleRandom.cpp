#include "sample-site/SampleRandom.h"

namespace gleaner::sample {

SampleRandom::SampleRandom(std::string_view text, std::uint64_t number)
    : state_(hash(text) ^ (number * 0x9E3779B97F4A7C15ULL)) {}

// splitmix64
std::uint64_t SampleRandom::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

long long SampleRandom::between(long long low, long long high) {
  if (high <= low) return low;
  const auto span = static_cast<std::uint64_t>(high - low) + 1;
  return low + static_cast<long long>(next() % span);
}

// FNV-1a, 64 bits
std::uint64_t SampleRandom::hash(std::string_view text) {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  for (unsigned char c : text) {
    h ^= c;
    h *= 0x100000001B3ULL;
  }
  return h;
}

}  // namespace gleaner::sample
