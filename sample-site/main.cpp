// gleaner-sample-site --port P [--rules DIR]
// Serves the sample site on 127.0.0.1:P until a stop request (Ctrl-C,
// SIGTERM; on Windows also Ctrl-Break or a closed console window). The first
// line on standard output is the site's address, "http://127.0.0.1:PORT/".
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/ConsoleSetup.h"
#include "cli/InterruptSignals.h"
#include "sample-site/SampleSite.h"
#include "text/PathText.h"

namespace {

constexpr const char* kUsage =
    "usage: gleaner-sample-site --port P [--rules DIR]\n"
    "  --port P     port on 127.0.0.1 (0 picks a free one)\n"
    "  --rules DIR  serve the rule files from DIR/taobao and DIR/ali instead of the built-in ones\n";

int fail(const std::string& message) {
  std::cerr << "gleaner-sample-site: " << message << "\n" << kUsage;
  return 2;
}

std::optional<int> parsePort(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int port = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port > 65535) return std::nullopt;
  return port;
}

}  // namespace

int main(int argc, char** argv) {
  gleaner::cli::ConsoleSetup console(argc, argv);
  const std::vector<std::string>& args = console.arguments();
  std::optional<int> port;
  gleaner::sample::SampleSite::Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg != "--port" && arg != "--rules") return fail("unknown argument \"" + arg + "\"");
    if (i + 1 >= args.size()) return fail(arg + " needs a value");
    const std::string& value = args[++i];
    if (arg == "--port") {
      port = parsePort(value);
      if (!port) return fail("invalid port \"" + value + "\"");
    } else {
      std::error_code error;
      const std::filesystem::path directory = gleaner::pathFromUtf8(value);
      if (!std::filesystem::is_directory(directory, error)) return fail("no rules directory \"" + value + "\"");
      options.rulesDirectory = directory;
    }
  }
  if (!port) return fail("--port is required");

  gleaner::cli::installInterruptSignals();
  try {
    gleaner::sample::SampleSite site(options);
    site.start(*port);
    std::cout << site.baseAddress() << std::endl;
    std::cerr << "serving the sample site; send the site hosts here with\n  GLEANER_CONNECT_TO="
              << site.connectToList() << std::endl;
    while (gleaner::cli::interruptCount() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    site.stop();
  } catch (const std::exception& e) {
    std::cerr << "gleaner-sample-site: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
