// The CPU time of one gleaner-cli run, for two builds side by side: a
// 3-page offer run against the sample site (pages and rule files on a
// loopback port of this program), made by each binary in turn, several
// times. Each run's user and system time are the child's own, from wait4;
// the two binaries alternate (old, new, then new, old) so that a drift of
// the machine falls on both. The rows of the two must be the same byte for
// byte, or the comparison means nothing.
//
//   build/bench/cli_cpu_compare OLD-CLI NEW-CLI [repetitions] [keyword]
//
// repetitions: 10 by default; keyword: 核桃 by default (the sample site's
// "hostile" keyword gives pages of about 1 MB). Prints each binary's
// median, mean and lowest CPU time and the ratio of the medians new/old.
// Exit status: 0 when both ran to the same rows, 1 otherwise, 2 on bad usage.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "sample-site/SampleSite.h"

namespace {

using gleaner::sample::SampleSite;

struct Measured {
  int status = -1;
  double cpuSeconds = 0;  // user + system
  double userSeconds = 0;
  double systemSeconds = 0;
  std::string rows;  // standard output
};

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// One run of cli, its rows in a file of its own, its status lines dropped.
Measured runOnce(const std::string& cli, const std::vector<std::string>& args, const std::vector<std::string>& env) {
  char rowsFile[] = "/tmp/gleaner-cpu-rows-XXXXXX";
  const int fd = mkstemp(rowsFile);
  if (fd >= 0) close(fd);
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    if (std::freopen(rowsFile, "w", stdout) == nullptr || std::freopen("/dev/null", "w", stderr) == nullptr) _exit(126);
    for (const auto& entry : env) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv{const_cast<char*>(cli.c_str())};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(cli.c_str(), argv.data());
    _exit(127);
  }
  Measured measured;
  int status = 0;
  rusage usage{};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    measured.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    measured.userSeconds = seconds(usage.ru_utime);
    measured.systemSeconds = seconds(usage.ru_stime);
    measured.cpuSeconds = measured.userSeconds + measured.systemSeconds;
  }
  measured.rows = readAll(rowsFile);
  std::remove(rowsFile);
  return measured;
}

struct Series {
  std::string cli;
  std::vector<double> cpu;
  std::vector<double> user;
  std::vector<double> system;

  void add(const Measured& m) {
    cpu.push_back(m.cpuSeconds);
    user.push_back(m.userSeconds);
    system.push_back(m.systemSeconds);
  }
  static double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  }
  static double mean(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
  }
  void print(const char* name) const {
    std::printf("%s %s\n  CPU per run: median %.1f ms (user %.1f, system %.1f), mean %.1f ms, lowest %.1f ms\n",
                name, cli.c_str(), 1000 * median(cpu), 1000 * median(user), 1000 * median(system), 1000 * mean(cpu),
                1000 * *std::min_element(cpu.begin(), cpu.end()));
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OLD-CLI NEW-CLI [repetitions] [keyword]\n", argv[0]);
    return 2;
  }
  const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
  const std::string keyword = argc > 4 ? argv[4] : "核桃";
  Series old{argv[1], {}, {}, {}};
  Series now{argv[2], {}, {}, {}};
  for (const Series* s : {&old, &now}) {
    if (access(s->cli.c_str(), X_OK) != 0) {
      std::fprintf(stderr, "%s: not an executable\n", s->cli.c_str());
      return 2;
    }
  }

  SampleSite site;
  const int port = site.start();
  // The site serves the rule files too.
  const std::vector<std::string> env{"GLEANER_CONNECT_TO=" + site.connectToList(),
                                     "GLEANER_RULE_SERVER=127.0.0.1:" + std::to_string(port)};
  const std::vector<std::string> args{"offers", "--keyword", keyword, "--pages", "3"};

  // One run each first, not counted: the binaries and their libraries come
  // into the page cache, and the rows are compared.
  const Measured oldFirst = runOnce(old.cli, args, env);
  const Measured newFirst = runOnce(now.cli, args, env);
  bool ok = true;
  if (oldFirst.status != 0 || newFirst.status != 0) {
    std::printf("exit status: old %d, new %d (expected 0)\n", oldFirst.status, newFirst.status);
    ok = false;
  }
  const bool sameRows = oldFirst.rows == newFirst.rows && !oldFirst.rows.empty();
  const long rowCount = std::count(newFirst.rows.begin(), newFirst.rows.end(), '\n');
  std::printf("offers --keyword %s --pages 3: %s (%zu bytes of rows, %ld lines)\n", keyword.c_str(),
              sameRows ? "both give the same rows" : "the ROWS DIFFER", newFirst.rows.size(), rowCount);
  ok = ok && sameRows;

  for (int i = 0; i < repetitions; ++i) {
    const bool oldFirstThisTime = i % 2 == 0;
    Series& a = oldFirstThisTime ? old : now;
    Series& b = oldFirstThisTime ? now : old;
    for (Series* s : {&a, &b}) {
      const Measured m = runOnce(s->cli, args, env);
      if (m.status != 0) {
        std::printf("run %d of %s: exit status %d\n", i + 1, s->cli.c_str(), m.status);
        ok = false;
      }
      s->add(m);
    }
  }
  site.stop();

  std::printf("%d runs of each, alternating:\n", repetitions);
  old.print("old");
  now.print("new");
  const double ratio = Series::median(now.cpu) / Series::median(old.cpu);
  const double lowestRatio = *std::min_element(now.cpu.begin(), now.cpu.end()) /
                             *std::min_element(old.cpu.begin(), old.cpu.end());
  std::printf("new/old: %.3f of the median (%.3f of the lowest): the run's CPU %s by %.1f%%; fell by at least a "
              "fifth: %s\n",
              ratio, lowestRatio, ratio <= 1 ? "fell" : "rose", 100 * std::abs(1 - ratio), ratio <= 0.8 ? "yes" : "no");
  return ok ? 0 : 1;
}
