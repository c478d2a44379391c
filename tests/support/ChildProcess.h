// A program started by a test, its standard output read line by line, and
// killed without warning (SIGKILL; TerminateProcess on Windows) when the test
// wants a crash.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace gleaner::testing {

class ChildProcess {
 public:
  // Starts program with args and extra environment entries ("NAME=value");
  // standard error is left as the test's.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& env = {});
  ~ChildProcess();  // kills the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of its standard output, without the line end; nullopt at
  // the end of the output or when limit passes first.
  std::optional<std::string> readLine(std::chrono::milliseconds limit);

  void kill();
  // Waits for the end; the exit status, or -1 when it was killed.
  int wait();

 private:
  bool fill(std::chrono::milliseconds limit);  // reads more output; false at its end or time-out

  std::string buffer_;
  bool ended_ = false;
  bool waited_ = false;
  int status_ = -1;
#ifdef _WIN32
  void* process_ = nullptr;
  void* output_ = nullptr;
#else
  int pid_ = -1;
  int output_ = -1;
#endif
};

}  // namespace gleaner::testing
