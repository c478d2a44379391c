#include "support/ChildProcess.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace gleaner::testing {

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), n);
  out.resize(static_cast<std::size_t>(n - 1));
  return out;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) throw std::runtime_error("CreatePipe");
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  std::wstring command = L"\"" + wide(program) + L"\"";
  for (const auto& arg : args) command += L" \"" + wide(arg) + L"\"";
  for (const auto& entry : env) {
    const auto eq = entry.find('=');
    SetEnvironmentVariableW(wide(entry.substr(0, eq)).c_str(), wide(entry.substr(eq + 1)).c_str());
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    throw std::runtime_error("CreateProcess");
  }
  CloseHandle(write);
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  output_ = read;
}

bool ChildProcess::fill(std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr)) return false;
    if (available > 0) {
      char chunk[4096];
      DWORD got = 0;
      if (!ReadFile(output_, chunk, std::min<DWORD>(available, sizeof chunk), &got, nullptr) || got == 0) return false;
      buffer_.append(chunk, got);
      return true;
    }
    if (std::chrono::steady_clock::now() >= until) return false;
    Sleep(10);
  }
}

void ChildProcess::kill() {
  if (process_ != nullptr && !waited_) TerminateProcess(static_cast<HANDLE>(process_), 137);
}

int ChildProcess::wait() {
  if (!waited_) {
    WaitForSingleObject(static_cast<HANDLE>(process_), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(static_cast<HANDLE>(process_), &code);
    status_ = code == 137 ? -1 : static_cast<int>(code);
    waited_ = true;
  }
  return status_;
}

ChildProcess::~ChildProcess() {
  kill();
  wait();
  CloseHandle(static_cast<HANDLE>(process_));
  CloseHandle(static_cast<HANDLE>(output_));
}

#else

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    dup2(pipeFds[1], 1);
    close(pipeFds[0]);
    close(pipeFds[1]);
    for (const auto& entry : env) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  output_ = pipeFds[0];
}

bool ChildProcess::fill(std::chrono::milliseconds limit) {
  pollfd fd{output_, POLLIN, 0};
  if (poll(&fd, 1, static_cast<int>(limit.count())) <= 0) return false;
  char chunk[4096];
  const ssize_t got = read(output_, chunk, sizeof chunk);
  if (got <= 0) {
    ended_ = true;
    return false;
  }
  buffer_.append(chunk, static_cast<std::size_t>(got));
  return true;
}

void ChildProcess::kill() {
  if (pid_ > 0 && !waited_) ::kill(pid_, SIGKILL);
}

int ChildProcess::wait() {
  if (!waited_ && pid_ > 0) {
    int status = 0;
    waitpid(pid_, &status, 0);
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    waited_ = true;
  }
  return status_;
}

ChildProcess::~ChildProcess() {
  kill();
  wait();
  if (output_ >= 0) close(output_);
}

#endif

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto end = buffer_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (ended_ || left.count() <= 0 || !fill(left)) return std::nullopt;
  }
}

}  // namespace gleaner::testing
