#include "CliProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <optional>

namespace gleaner::e2e {

using namespace std::chrono_literals;

Finished runCli(const std::vector<std::string>& args, const std::vector<std::string>& env,
                const WhileRunning& whileRunning) {
  testing::ChildProcess child(GLEANER_CLI_PATH, args, env);
  EXPECT_TRUE(child.started()) << child.startError();
  const auto deadline = std::chrono::steady_clock::now() + 120s;
  std::optional<int> status;
  while (child.started() && !(status = child.wait(20ms))) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "gleaner-cli did not end";
      child.kill();
      status = child.wait(10s);
      break;
    }
    if (whileRunning) whileRunning(child, {-1, child.out(), child.err()});
  }
  return {status.value_or(-1), child.out(), child.err()};
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace gleaner::e2e
