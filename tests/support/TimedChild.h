// Runs a program as a user would from a shell, in a process group of its
// own, with its output collected and its time bounded: past the limit the
// whole group is killed, so a hanging child fails the test instead of the
// test run.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace gleaner::testing {

struct ChildResult {
  int status = -1;  // exit status, or 128 + signal
  bool timedOut = false;
  pid_t group = 0;  // the child's process group
  std::string out;
  std::string err;
};

struct ChildSetup {
  std::vector<std::string> args;   // args[0] is the program
  std::vector<std::string> unset;  // variables removed from the environment
  std::vector<std::string> set;    // NAME=VALUE entries added
  std::string folder;              // working folder; empty: the test's
};

inline ChildResult runChild(const ChildSetup& setup, std::chrono::milliseconds limit) {
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    setpgid(0, 0);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    for (const auto& name : setup.unset) unsetenv(name.c_str());
    for (const auto& entry : setup.set) putenv(const_cast<char*>(entry.c_str()));
    if (!setup.folder.empty() && chdir(setup.folder.c_str()) != 0) _exit(126);
    std::vector<char*> argv;
    for (const auto& arg : setup.args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  setpgid(pid, pid);
  close(outPipe[1]);
  close(errPipe[1]);
  ChildResult result;
  result.group = pid;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  char buffer[4096];
  while (open > 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      result.timedOut = true;
      kill(-pid, SIGKILL);
      break;
    }
    if (poll(fds, 2, 20) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
      }
    }
  }
  for (const pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace gleaner::testing
