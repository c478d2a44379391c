// gleaner-cli run as a child process, as a user or a script runs it.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace gleaner::e2e {

struct Finished {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs gleaner-cli with args and extra environment entries; calls
// whileRunning with the program and what it wrote so far, again and again
// while it runs. A run that outlives two minutes is killed and fails the test.
using WhileRunning = std::function<void(testing::ChildProcess&, const Finished& sofar)>;
Finished runCli(const std::vector<std::string>& args, const std::vector<std::string>& env,
                const WhileRunning& whileRunning = {});

std::string readFile(const std::filesystem::path& path);

}  // namespace gleaner::e2e
