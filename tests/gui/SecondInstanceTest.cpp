// The real program, started twice on the test's display: the second copy
// shows only its message box and ends; the first goes on.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

std::string output(const std::string& command) {
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
    ::pclose(pipe);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

pid_t startProgram() {
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stderr);
    ::unsetenv("GLEANER_CONNECT_TO");
    ::unsetenv("GLEANER_RULE_SERVER");
    ::execl(GLEANER_APP_PATH, GLEANER_APP_PATH, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

// The visible window of pid whose title holds titlePart, polled for until
// timeoutMs passes; empty when there is none.
std::string findWindow(pid_t pid, const std::string& titlePart, int timeoutMs = 0) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    const std::string ids = output("xdotool search --all --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null");
    std::size_t at = 0;
    while (at < ids.size()) {
      std::size_t next = ids.find('\n', at);
      if (next == std::string::npos) next = ids.size();
      const std::string id = ids.substr(at, next - at);
      if (output("xdotool getwindowname " + id + " 2>/dev/null").find(titlePart) != std::string::npos) return id;
      at = next + 1;
    }
    if (timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  } while (std::chrono::steady_clock::now() < end);
  return {};
}

// The exit status, or -1 when the process did not end in time.
int waitForExit(pid_t pid, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

TEST(SecondInstance, IsRefusedWithAMessageAndLeavesTheFirstRunning) {
  if (output("command -v xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
  const pid_t first = startProgram();
  const std::string caption = "岚樾营销系列软件";
  const std::string mainWindow = findWindow(first, caption, 20000);
  ASSERT_FALSE(mainWindow.empty()) << "the first copy shows its main window";

  const pid_t second = startProgram();
  const std::string box = findWindow(second, "gleaner", 20000);
  EXPECT_FALSE(box.empty()) << "the second copy shows its message box";
  EXPECT_TRUE(findWindow(second, caption).empty()) << "and no main window";
  if (!box.empty()) output("xdotool windowfocus --sync " + box + " key Return 2>&1");
  const int status = waitForExit(second, 10000);
  if (status == -1) ::kill(second, SIGKILL), ::waitpid(second, nullptr, 0);
  EXPECT_NE(status, -1) << "the second copy ends once its message is read";
  EXPECT_TRUE(WIFEXITED(status)) << "it ends, it does not crash";

  EXPECT_EQ(::waitpid(first, nullptr, WNOHANG), 0) << "the first copy still runs";
  EXPECT_EQ(findWindow(first, caption), mainWindow);
  ::kill(first, SIGTERM);
  if (waitForExit(first, 5000) == -1) ::kill(first, SIGKILL), ::waitpid(first, nullptr, 0);
}

}  // namespace
