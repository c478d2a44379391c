#include "CliProcess.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace gleaner::e2e {

Finished runCli(const std::vector<std::string>& args, const std::vector<std::string>& env,
                const WhileRunning& whileRunning) {
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) throw std::runtime_error("pipe");
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    for (const auto& entry : env) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv{const_cast<char*>(GLEANER_CLI_PATH)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(GLEANER_CLI_PATH, argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  Finished result;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  char buffer[4096];
  while (open > 0) {
    if (poll(fds, 2, 20) > 0) {
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
    if (whileRunning) whileRunning(pid, result);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace gleaner::e2e
