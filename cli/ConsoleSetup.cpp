#include "cli/ConsoleSetup.h"

#include <iostream>

#include "cli/ConsoleTextBuffer.h"
#include "text/WideText.h"

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

// A console window, not a pipe or a file: it takes wide text.
bool isConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
}

std::unique_ptr<ConsoleTextBuffer> consoleBuffer(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  if (!isConsole(handle)) return nullptr;
  return std::make_unique<ConsoleTextBuffer>([handle](std::string_view utf8) {
    const std::wstring text = wide::fromUtf8(utf8);
    if (text.empty()) return;
    DWORD written = 0;
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  });
}

}  // namespace

ConsoleSetup::ConsoleSetup(int, char**) {
  int count = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) arguments_.push_back(wide::toUtf8(argv[i]));
    LocalFree(argv);
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
