// Waiting in a test for something another thread does.
#pragma once

#include <chrono>
#include <thread>

namespace gleaner::testing {

// Polls predicate until it holds or limit passes; true when it held.
template <typename Predicate>
bool waitFor(Predicate predicate, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace gleaner::testing
