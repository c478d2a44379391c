#include "cli/ConsoleSetup.h"

#include <iostream>

#include "cli/ConsoleTextBuffer.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>
#endif

namespace gleaner::cli {

#ifdef _WIN32
namespace {

std::string utf8OfWide(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<std::size_t>(n - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

// A console window, not a pipe or a file: it takes wide text.
bool isConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
}

std::unique_ptr<ConsoleTextBuffer> consoleBuffer(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  if (!isConsole(handle)) return nullptr;
  return std::make_unique<ConsoleTextBuffer>([handle](std::string_view utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  });
}

}  // namespace

ConsoleSetup::ConsoleSetup(int, char**) {
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) arguments_.push_back(utf8OfWide(wide[i]));
    LocalFree(wide);
  }
  std::cout.flush();
  std::cerr.flush();
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  out_ = consoleBuffer(STD_OUTPUT_HANDLE);
  err_ = consoleBuffer(STD_ERROR_HANDLE);
  if (out_) savedOut_ = std::cout.rdbuf(out_.get());
  if (err_) savedErr_ = std::cerr.rdbuf(err_.get());
}

#else

ConsoleSetup::ConsoleSetup(int argc, char** argv) : arguments_(argv + (argc > 0 ? 1 : 0), argv + argc) {}

#endif

ConsoleSetup::~ConsoleSetup() {
  std::cout.flush();
  std::cerr.flush();
  if (savedOut_ != nullptr) std::cout.rdbuf(savedOut_);
  if (savedErr_ != nullptr) std::cerr.rdbuf(savedErr_);
}

void ConsoleSetup::setOutputGbk(bool gbk) {
  if (out_) {
    std::cout.flush();
    out_->setGbk(gbk);
  }
}

}  // namespace gleaner::cli
