#include "support/ChildProcess.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace gleaner::testing {
namespace {

using namespace std::chrono_literals;

std::filesystem::path resolve(const std::filesystem::path& program) {
  return program.is_absolute() ? program : executableFolder() / program;
}

#ifdef _WIN32

std::wstring wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// "error 2 (The system cannot find the file specified.)"
std::string systemError(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : L"no text for it";
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  return "error " + std::to_string(code) + " (" + utf8(message) + ")";
}

std::string shown(const std::filesystem::path& path) { return utf8(path.wstring()); }

// One argument as CommandLineToArgvW and the C runtime read it back.
std::wstring quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

// The test's environment with the changes applied, as CreateProcessW takes it.
std::wstring environmentBlock(const ChildProcess::Environment& changes) {
  std::vector<std::wstring> entries;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* p = block; *p != L'\0'; p += std::wcslen(p) + 1) entries.emplace_back(p);
    FreeEnvironmentStringsW(block);
  }
  for (const std::string& change : changes) {
    const std::wstring entry = wide(change);
    const std::wstring name = entry.substr(0, entry.find(L'='));
    std::erase_if(entries, [&](const std::wstring& e) {
      return e.size() > name.size() && e[name.size()] == L'=' && _wcsnicmp(e.c_str(), name.c_str(), name.size()) == 0;
    });
    if (entry.find(L'=') != std::wstring::npos) entries.push_back(entry);
  }
  std::wstring out;
  for (const std::wstring& e : entries) out += e + L'\0';
  return out + L'\0';
}

void closeHandle(std::intptr_t handle) {
  if (handle != 0) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

// The console keeper: cmd.exe without a window, reading commands from
// commands (which stay unwritten until the test ends), writing nowhere, and
// inheriting nothing else the test holds open (sockets, other programs'
// pipes), since it lives as long as the test.
bool startConsoleKeeper(HANDLE commands, PROCESS_INFORMATION& keeper) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  if (nul == INVALID_HANDLE_VALUE) return false;
  HANDLE inherited[] = {commands, nul};
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<unsigned char> storage(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) {
    CloseHandle(nul);
    return false;
  }
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = commands;
  startup.StartupInfo.hStdOutput = nul;
  startup.StartupInfo.hStdError = nul;
  startup.lpAttributeList = attributes;
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  std::wstring commandLine = L"cmd.exe /d /q /k";
  const bool started =
      length > 0 && length < MAX_PATH &&
      UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited, sizeof inherited, nullptr,
                                nullptr) &&
      CreateProcessW((std::wstring(system, length) + L"\\cmd.exe").c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                     CREATE_NO_WINDOW | CREATE_NEW_PROCESS_GROUP | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                     &startup.StartupInfo, &keeper);
  DeleteProcThreadAttributeList(attributes);
  CloseHandle(nul);
  return started;
}

// Attaches the test to a console without a window, kept by a console program
// started without one. AllocConsole would make one with a window, whose host
// on a Wine desktop without a display driver starts the desktop's explorer,
// which fails, in every test binary at its first program start. False when
// no such console could be had; the test may then have none at all.
bool attachToAWindowlessConsole() {
  // Only the keeper's end is inheritable: a program started meanwhile must
  // not hold the test's end, or the keeper would outlive the test.
  HANDLE commandsRead = nullptr;
  HANDLE commandsWrite = nullptr;
  if (!CreatePipe(&commandsRead, &commandsWrite, nullptr, 0)) return false;
  SetHandleInformation(commandsRead, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  PROCESS_INFORMATION keeper{};
  const bool started = startConsoleKeeper(commandsRead, keeper);
  CloseHandle(commandsRead);
  if (!started) {
    CloseHandle(commandsWrite);
    return false;
  }
  CloseHandle(keeper.hThread);
  // The keeper's console is there once its start-up has made it.
  FreeConsole();
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  bool attached = false;
  while (!(attached = AttachConsole(keeper.dwProcessId) != 0) && std::chrono::steady_clock::now() < deadline &&
         WaitForSingleObject(keeper.hProcess, 10) == WAIT_TIMEOUT) {
  }
  if (!attached) {
    TerminateProcess(keeper.hProcess, 1);
    CloseHandle(commandsWrite);
  }
  // Otherwise commandsWrite stays open: the keeper reads its end of file,
  // and ends, when the test does.
  CloseHandle(keeper.hProcess);
  return attached;
}

// Console control events reach only programs attached to the sender's
// console. A test started without a console window (from a pipe, as CTest
// runs it under Wine) gets one once, which every program it starts then
// shares; its own standard handles stay the pipes they were. (Wine hands
// such a process a console handle that takes no events: it is let go first.)
void shareAConsole() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (GetConsoleWindow() != nullptr) return;
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (!attachToAWindowlessConsole()) {
      std::fputs("no console without a window for the programs this test starts; one with a window instead\n", stderr);
      if (!AllocConsole() && !(FreeConsole() && AllocConsole())) return;
    }
    if (const HWND window = GetConsoleWindow()) ShowWindow(window, SW_HIDE);
    SetStdHandle(STD_INPUT_HANDLE, in);
    SetStdHandle(STD_OUTPUT_HANDLE, out);
    SetStdHandle(STD_ERROR_HANDLE, err);
  });
}

// Ctrl-Break to the program's own process group. Wine's console has no
// Ctrl-Break (its server answers "not implemented") but passes Ctrl-C to a
// group, which the programs take alike; real Windows takes Ctrl-Break.
bool sendStopEvent(long group) {
  return GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, static_cast<DWORD>(group)) != 0 ||
         GenerateConsoleCtrlEvent(CTRL_C_EVENT, static_cast<DWORD>(group)) != 0;
}

#else

// "errno 2 (No such file or directory)"
std::string systemError(int code) { return "errno " + std::to_string(code) + " (" + std::strerror(code) + ")"; }

std::string shown(const std::filesystem::path& path) { return path.string(); }

#endif

// What the file system holds at the program's path, which tells a program
// not (yet) built from one that is there and still does not start.
std::string programFile(const std::filesystem::path& program) {
  std::error_code error;
  const auto status = std::filesystem::status(program, error);
  if (!std::filesystem::exists(status)) return "no such file";
  if (!std::filesystem::is_regular_file(status)) return "not a regular file";
  const auto size = std::filesystem::file_size(program, error);
  return error ? "a file of unknown size" : "a file of " + std::to_string(size) + " bytes";
}

std::string whyNotStarted(const std::filesystem::path& program, const std::filesystem::path& folder,
                          const std::string& error) {
  std::string why = "cannot start " + shown(program);
  if (!folder.empty()) why += " in " + shown(folder);
  return why + ": " + error + "; the path holds " + programFile(program);
}

}  // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const Environment& changes, const std::filesystem::path& folder) {
  const std::filesystem::path path = resolve(program);
#ifdef _WIN32
  shareAConsole();
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0)) {
    throw std::runtime_error("cannot create a pipe: " + systemError(GetLastError()));
  }
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);

  std::wstring commandLine = quoted(path.wstring());
  for (const std::string& arg : args) commandLine += L" " + quoted(wide(arg));
  std::wstring environment = environmentBlock(changes);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION info{};
  // A process group of its own, so that Ctrl-Break reaches this program only.
  started_ = CreateProcessW(path.wstring().c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                            CREATE_UNICODE_ENVIRONMENT | CREATE_NEW_PROCESS_GROUP, environment.data(),
                            folder.empty() ? nullptr : folder.wstring().c_str(), &startup, &info) != 0;
  if (!started_) startError_ = whyNotStarted(path, folder, systemError(GetLastError()));
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (started_) {
    CloseHandle(info.hThread);
    process_ = reinterpret_cast<std::intptr_t>(info.hProcess);
    id_ = static_cast<long>(info.dwProcessId);
  }
  outReader_ = std::thread([this, h = reinterpret_cast<std::intptr_t>(outRead)] { readInto(out_, outEnded_, h); });
  errReader_ = std::thread([this, h = reinterpret_cast<std::intptr_t>(errRead)] { readInto(err_, errEnded_, h); });
#else
  // Close-on-exec, so that no other child started meanwhile keeps a pipe
  // open; dup2 gives the program its own copies without the flag.
  int outPipe[2];
  int errPipe[2];
  if (::pipe2(outPipe, O_CLOEXEC) != 0) throw std::runtime_error("cannot create a pipe: " + systemError(errno));
  if (::pipe2(errPipe, O_CLOEXEC) != 0) {
    const int error = errno;
    ::close(outPipe[0]);
    ::close(outPipe[1]);
    throw std::runtime_error("cannot create a pipe: " + systemError(error));
  }
  const std::string file = path.string();
  std::vector<char*> argv{const_cast<char*>(file.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> entries;
  for (char** e = environ; *e != nullptr; ++e) entries.emplace_back(*e);
  for (const std::string& change : changes) {
    const std::string name = change.substr(0, change.find('=')) + "=";
    std::erase_if(entries, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
    if (change.find('=') != std::string::npos) entries.push_back(change);
  }
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  // posix_spawn returns only once the program runs or has failed to, with
  // the reason in the latter case.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  // A process group of its own, as a shell starts a command.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  pid_t pid = 0;
  const int error = ::posix_spawn(&pid, file.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  started_ = error == 0;
  if (started_) {
    id_ = pid;
  } else {
    startError_ = whyNotStarted(path, folder, systemError(error));
  }
  outReader_ = std::thread([this, fd = outPipe[0]] { readInto(out_, outEnded_, fd); });
  errReader_ = std::thread([this, fd = errPipe[0]] { readInto(err_, errEnded_, fd); });
#endif
}

ChildProcess::~ChildProcess() {
  if (started_ && !wait(0ms)) {
    kill();
    wait(10s);
  }
  if (outReader_.joinable()) outReader_.join();
  if (errReader_.joinable()) errReader_.join();
#ifdef _WIN32
  closeHandle(process_);
#endif
}

void ChildProcess::readInto(std::string& text, bool& ended, std::intptr_t handle) {
  char buffer[4096];
  for (;;) {
#ifdef _WIN32
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle), buffer, sizeof buffer, &got, nullptr) || got == 0) break;
#else
    const ssize_t got = ::read(static_cast<int>(handle), buffer, sizeof buffer);
    if (got <= 0) break;
#endif
    std::lock_guard lock(mutex_);
    text.append(buffer, static_cast<std::size_t>(got));
    outputChanged_.notify_all();
  }
  {
    std::lock_guard lock(mutex_);
    ended = true;
    outputChanged_.notify_all();
  }
#ifdef _WIN32
  closeHandle(handle);
#else
  ::close(static_cast<int>(handle));
#endif
}

std::string ChildProcess::out() const {
  std::lock_guard lock(mutex_);
  return out_;
}

std::string ChildProcess::err() const {
  std::lock_guard lock(mutex_);
  return err_;
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  std::size_t end = std::string::npos;
  const bool found = outputChanged_.wait_for(lock, limit, [&] {
    end = out_.find('\n', lineFrom_);
    return end != std::string::npos || outEnded_;
  });
  if (!found || end == std::string::npos) return std::nullopt;
  std::string line = out_.substr(lineFrom_, end - lineFrom_);
  lineFrom_ = end + 1;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool ChildProcess::interrupt() {
  if (!started_ || status_) return false;
#ifdef _WIN32
  return sendStopEvent(id_);
#else
  return ::kill(static_cast<pid_t>(id_), SIGINT) == 0;
#endif
}

bool ChildProcess::terminate() {
  if (!started_ || status_) return false;
#ifdef _WIN32
  return sendStopEvent(id_);  // Windows has no SIGTERM; a service manager sends this
#else
  return ::kill(static_cast<pid_t>(id_), SIGTERM) == 0;
#endif
}

void ChildProcess::kill() {
  if (!started_) return;
#ifdef _WIN32
  if (!status_) TerminateProcess(reinterpret_cast<HANDLE>(process_), kKilledStatus);
#else
  // The group outlives its leader while any member is left, and its id is
  // not given to another process meanwhile.
  ::kill(-static_cast<pid_t>(id_), SIGKILL);
#endif
}

std::optional<int> ChildProcess::wait(std::chrono::milliseconds limit) {
  if (!started_) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!status_) {
#ifdef _WIN32
    if (WaitForSingleObject(reinterpret_cast<HANDLE>(process_), 0) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(reinterpret_cast<HANDLE>(process_), &code);
      status_ = static_cast<int>(code);
      crashed_ = (code & 0xF0000000u) == 0xC0000000u;  // an NTSTATUS error such as an access violation
      break;
    }
#else
    int status = 0;
    if (::waitpid(static_cast<pid_t>(id_), &status, WNOHANG) == id_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      crashed_ = !WIFEXITED(status);
      break;
    }
#endif
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(10ms);
  }
  if (!outputEnded(deadline)) return std::nullopt;
  if (outReader_.joinable()) outReader_.join();
  if (errReader_.joinable()) errReader_.join();
  return status_;
}

// The pipes close when the program and everything that inherited them have gone.
bool ChildProcess::outputEnded(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  return outputChanged_.wait_until(lock, deadline, [this] { return outEnded_ && errEnded_; });
}

bool ChildProcess::running() { return started_ && !wait(0ms); }

std::optional<int> runToEnd(const std::filesystem::path& program, const std::vector<std::string>& args,
                            std::chrono::milliseconds limit, std::string* out, std::string* err,
                            const ChildProcess::Environment& changes) {
  ChildProcess child(program, args, changes);
  if (!child.started()) {
    if (err != nullptr) *err = child.startError();
    return std::nullopt;
  }
  const std::optional<int> status = child.wait(limit);
  if (!status) {
    child.kill();
    child.wait(10s);
  }
  if (out != nullptr) *out = child.out();
  if (err != nullptr) *err = child.err();
  return status;
}

void setEnvironment(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  // An empty value removes the variable, as the test means by nullopt.
  _putenv_s(name.c_str(), value ? value->c_str() : "");
  SetEnvironmentVariableW(std::wstring(name.begin(), name.end()).c_str(),
                          value ? wide(*value).c_str() : nullptr);
#else
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
#endif
}

long currentProcessId() {
#ifdef _WIN32
  return static_cast<long>(GetCurrentProcessId());
#else
  return static_cast<long>(::getpid());
#endif
}

std::filesystem::path executableFolder() {
#ifdef _WIN32
  std::wstring buffer(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  buffer.resize(n);
  return std::filesystem::path(buffer).parent_path();
#else
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

std::filesystem::path programPath(const std::string& name) {
#ifdef _WIN32
  return executableFolder() / (name + ".exe");
#else
  return executableFolder() / name;
#endif
}

}  // namespace gleaner::testing
