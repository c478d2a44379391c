// A program that a test starts, on POSIX and on Windows alike: arguments as
// UTF-8, environment changes on top of the test's own, a working folder of
// its choice, standard output and error collected by threads of their own
// (and read line by line as they come), a stop as a user gives it, a kill
// without warning (SIGKILL; TerminateProcess on Windows), a bounded wait, and
// a kill when the object goes while the program still runs. On POSIX the
// program leads a process group of its own, as a shell starts a command, and
// a kill ends the whole group, so that nothing it started outlives the test.
// When the program cannot be started, startError() says why.
#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace gleaner::testing {

class ChildProcess {
 public:
  // name=value sets a variable, name alone removes it.
  using Environment = std::vector<std::string>;

  // A relative program is looked for beside the test binary; folder empty:
  // the test's own working folder.
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const Environment& changes = {}, const std::filesystem::path& folder = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return started_; }
  // Why the program did not start: the path tried, the system's error (its
  // number and text) and what the path holds; empty once it started.
  const std::string& startError() const { return startError_; }
  // The process id; on POSIX its process group's id too.
  long id() const { return id_; }

  // What the program has written so far.
  std::string out() const;
  std::string err() const;

  // The next line of its standard output, without the line end; nothing at
  // the end of the output or when limit passes first.
  std::optional<std::string> readLine(std::chrono::milliseconds limit);

  // The stop a user gives: SIGINT (Ctrl-C) on POSIX, Ctrl-Break on Windows
  // (a program of its own process group cannot be sent Ctrl-C). False when
  // the system could not deliver it.
  bool interrupt();
  // The stop a service manager gives: SIGTERM on POSIX, as interrupt() on Windows.
  bool terminate();
  // Ends the program at once, with no chance to clean up, and on POSIX every
  // process left in its group (even once the program itself has ended); the
  // program then exits with kKilledStatus.
  void kill();
  static constexpr int kKilledStatus = 137;  // 128 + SIGKILL

  // The exit status once the program has ended and its output is read in
  // full (128 + signal for a POSIX signal); nothing when limit passes first,
  // also when something the program started still holds its output open.
  std::optional<int> wait(std::chrono::milliseconds limit);
  bool running();
  // Whether the program ended by a signal (POSIX) or an unhandled exception
  // (Windows) rather than by returning or calling exit.
  bool crashed() const { return crashed_; }

 private:
  void readInto(std::string& text, bool& ended, std::intptr_t handle);
  bool outputEnded(std::chrono::steady_clock::time_point deadline);

  bool started_ = false;
  std::string startError_;
  long id_ = 0;
  std::intptr_t process_ = 0;  // Windows: the process handle
  std::optional<int> status_;
  bool crashed_ = false;
  mutable std::mutex mutex_;
  std::condition_variable outputChanged_;
  std::string out_;
  std::string err_;
  bool outEnded_ = false;
  bool errEnded_ = false;
  std::size_t lineFrom_ = 0;  // where readLine goes on in out_
  std::thread outReader_;
  std::thread errReader_;
};

// The exit status of program with args, or nothing when it outlives limit
// (it is killed then) or cannot be started; out and err receive what it
// wrote, err the reason when it did not start.
std::optional<int> runToEnd(const std::filesystem::path& program, const std::vector<std::string>& args,
                            std::chrono::milliseconds limit, std::string* out = nullptr, std::string* err = nullptr,
                            const ChildProcess::Environment& changes = {});

// Sets (or with nullopt removes) a variable of the test's own environment.
void setEnvironment(const std::string& name, const std::optional<std::string>& value);

// The test process's id, for names of its own.
long currentProcessId();

// The folder the running test binary lies in, where the programs land too.
std::filesystem::path executableFolder();

// One of the programs beside the test binary ("gleaner-cli" is
// gleaner-cli.exe on Windows).
std::filesystem::path programPath(const std::string& name);

}  // namespace gleaner::testing
