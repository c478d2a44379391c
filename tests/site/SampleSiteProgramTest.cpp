// The program as scripts use it: first line the address, then serving until
// SIGTERM. POSIX only (fork, exec, kill).
#ifndef _WIN32

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

namespace {

// The program lands beside the test binaries.
std::filesystem::path programPath() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "gleaner-sample-site";
}

struct Child {
  pid_t pid = -1;
  FILE* out = nullptr;
};

Child launch(const std::vector<std::string>& args) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    std::vector<char*> argv;
    const std::string program = programPath().string();
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  return {pid, fdopen(pipeFds[0], "r")};
}

int waitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SampleSiteProgram, PrintsItsAddressFirstAndServesUntilSigterm) {
  ASSERT_TRUE(std::filesystem::exists(programPath()));
  Child child = launch({"--port", "0"});
  ASSERT_GT(child.pid, 0);
  char line[256] = {};
  ASSERT_NE(std::fgets(line, sizeof line, child.out), nullptr);
  std::smatch match;
  const std::string first(line);
  ASSERT_TRUE(std::regex_match(first, match, std::regex(R"(http://127\.0\.0\.1:(\d+)/\n)"))) << first;
  httplib::Client client("127.0.0.1", std::stoi(match[1]));
  const auto response = client.Get("/files/taobao/ExtractImg.txt", {{"Host", "s.taobao.com"}});
  ASSERT_TRUE(response);
  EXPECT_EQ(response->status, 200);
  kill(child.pid, SIGTERM);
  EXPECT_EQ(waitFor(child.pid), 0);
  std::fclose(child.out);
}

TEST(SampleSiteProgram, RefusesBadArguments) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--port", "http"}, {"--port", "70000"}, {"--port"}, {"--rules", "/nonexistent-dir", "--port", "0"}, {"--bogus"}}) {
    Child child = launch(args);
    ASSERT_GT(child.pid, 0);
    EXPECT_EQ(waitFor(child.pid), 2) << args.front();
    std::fclose(child.out);
  }
}

}  // namespace

#endif
