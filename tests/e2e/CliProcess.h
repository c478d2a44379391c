// gleaner-cli run as a child process, as a user or a script runs it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace gleaner::e2e {

struct Finished {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs gleaner-cli with args and extra environment entries; calls whileRunning
// with its pid and what it wrote so far, again and again while it runs.
using WhileRunning = std::function<void(pid_t, const Finished& sofar)>;
Finished runCli(const std::vector<std::string>& args, const std::vector<std::string>& env,
                const WhileRunning& whileRunning = {});

std::string readFile(const std::string& path);

}  // namespace gleaner::e2e
