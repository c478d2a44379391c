// The real program, started twice on the test's display: the second copy
// shows only its message box and ends; the first goes on.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "support/ChildProcess.h"
#include "support/Wine.h"
#include "text/WideText.h"

#ifdef _WIN32
#include <wx/defs.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace gleaner::testing {
namespace {

using namespace std::chrono_literals;

#ifdef _WIN32

struct Search {
  DWORD pid;
  std::wstring titlePart;
  HWND found = nullptr;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->pid || !IsWindowVisible(window)) return TRUE;
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  if (std::wstring(title).find(search->titlePart) == std::wstring::npos) return TRUE;
  search->found = window;
  return FALSE;
}

// The visible top-level window of the program whose title holds titlePart,
// polled for until the limit passes; 0 when there is none.
std::intptr_t findWindow(const ChildProcess& program, const std::string& titlePart,
                         std::chrono::milliseconds limit = 0ms) {
  const auto end = std::chrono::steady_clock::now() + limit;
  do {
    Search search{static_cast<DWORD>(program.id()), wide::fromUtf8(titlePart)};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return reinterpret_cast<std::intptr_t>(search.found);
    if (limit > 0ms) std::this_thread::sleep_for(100ms);
  } while (std::chrono::steady_clock::now() < end);
  return 0;
}

// Presses the OK button of the program's message box (drawn by the toolkit,
// whose OK button has the toolkit's own id).
void acknowledge(std::intptr_t box) {
  PostMessageW(reinterpret_cast<HWND>(box), WM_COMMAND, MAKEWPARAM(wxID_OK, BN_CLICKED), 0);
}

// Ends the program as its close box does.
void endProgram(ChildProcess&, std::intptr_t window) { PostMessageW(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0); }

bool haveWindowTools() { return true; }

#else

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

std::intptr_t findWindow(const ChildProcess& program, const std::string& titlePart,
                         std::chrono::milliseconds limit = 0ms) {
  const auto end = std::chrono::steady_clock::now() + limit;
  do {
    const std::string ids =
        output("xdotool search --all --onlyvisible --pid " + std::to_string(program.id()) + " 2>/dev/null");
    std::size_t at = 0;
    while (at < ids.size()) {
      std::size_t next = ids.find('\n', at);
      if (next == std::string::npos) next = ids.size();
      const std::string id = ids.substr(at, next - at);
      if (output("xdotool getwindowname " + id + " 2>/dev/null").find(titlePart) != std::string::npos) {
        return std::stol(id);
      }
      at = next + 1;
    }
    if (limit > 0ms) std::this_thread::sleep_for(100ms);
  } while (std::chrono::steady_clock::now() < end);
  return 0;
}

void acknowledge(std::intptr_t box) {
  output("xdotool windowfocus --sync " + std::to_string(box) + " key Return 2>&1");
}

void endProgram(ChildProcess& program, std::intptr_t) { program.terminate(); }

bool haveWindowTools() { return !output("command -v xdotool").empty(); }

#endif

// The program as a user starts it: no settings from the test's environment.
const ChildProcess::Environment kPlainStart = {"GLEANER_CONNECT_TO", "GLEANER_RULE_SERVER"};

TEST(SecondInstance, IsRefusedWithAMessageAndLeavesTheFirstRunning) {
  if (!haveWindowTools()) GTEST_SKIP() << "xdotool is not installed";
#ifdef _WIN32
  const ChildProcess::Environment start = kPlainStart;
#else
  // A home and a session runtime folder of their own: the lock is kept in
  // the latter, under the program's name, and nothing in the home.
  namespace fs = std::filesystem;
  const fs::path home = fs::temp_directory_path() / ("gleaner-home-" + std::to_string(::getpid()));
  const fs::path runtime = home / "run";
  fs::create_directories(runtime);
  ChildProcess::Environment start = kPlainStart;
  start.push_back("HOME=" + home.string());
  start.push_back("XDG_RUNTIME_DIR=" + runtime.string());
  struct Cleanup {
    fs::path folder;
    ~Cleanup() { fs::remove_all(folder); }
  } cleanup{home};
#endif
  ChildProcess first(GLEANER_APP_PATH, {}, start);
  ASSERT_TRUE(first.started()) << first.startError();
  const std::string caption = "岚樾营销系列软件";
  const std::intptr_t mainWindow = findWindow(first, caption, 20s);
  ASSERT_NE(mainWindow, 0) << "the first copy shows its main window";
#ifdef _WIN32
  // With the program's icon, large (Alt+Tab) and small (caption, taskbar).
  // Wine answers WM_GETICON only from the window's own process (the window
  // test checks the icons there).
  if (!underWine()) {
    const HWND hwnd = reinterpret_cast<HWND>(mainWindow);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
  }
#endif

#ifndef _WIN32
  EXPECT_TRUE(fs::exists(runtime / "gleaner.lock"));
  EXPECT_FALSE(fs::exists(home / ".vendrake"));
#endif

  ChildProcess second(GLEANER_APP_PATH, {}, start);
  ASSERT_TRUE(second.started()) << second.startError();
  const std::intptr_t box = findWindow(second, "gleaner", 20s);
  EXPECT_NE(box, 0) << "the second copy shows its message box";
  EXPECT_EQ(findWindow(second, caption), 0) << "and no main window";
  if (box != 0) acknowledge(box);
  const std::optional<int> status = second.wait(10s);
  EXPECT_TRUE(status.has_value()) << "the second copy ends once its message is read";
  EXPECT_FALSE(second.crashed()) << "it ends, it does not crash (status " << status.value_or(-1) << ")";

  EXPECT_TRUE(first.running()) << "the first copy still runs";
  EXPECT_EQ(findWindow(first, caption), mainWindow);
  endProgram(first, mainWindow);
  if (!first.wait(10s)) first.kill();
}

}  // namespace
}  // namespace gleaner::testing
