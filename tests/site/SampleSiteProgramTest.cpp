// The program as scripts use it: first line the address, then serving until
// it is told to stop (SIGTERM; Ctrl-Break on Windows).
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "support/ChildProcess.h"
#include "support/WaitFor.h"
#include "text/PathText.h"

namespace gleaner::testing {
namespace {

using namespace std::chrono_literals;

// Starts the program and reads its address line; 0 when none came.
int startSite(ChildProcess& site) {
  std::string first;
  if (!waitFor([&] { return (first = site.out()).find('\n') != std::string::npos || !site.running(); }, 20s)) return 0;
  first = first.substr(0, first.find('\n') + 1);
  std::smatch match;
  if (!std::regex_match(first, match, std::regex(R"(http://127\.0\.0\.1:(\d+)/\n)"))) {
    ADD_FAILURE() << "first line: " << first << site.err();
    return 0;
  }
  return std::stoi(match[1]);
}

TEST(SampleSiteProgram, PrintsItsAddressFirstAndServesUntilStopped) {
  ChildProcess site(programPath("gleaner-sample-site"), {"--port", "0"});
  ASSERT_TRUE(site.started()) << site.startError();
  const int port = startSite(site);
  ASSERT_NE(port, 0);
  httplib::Client client("127.0.0.1", port);
  const auto response = client.Get("/files/taobao/ExtractImg.txt", {{"Host", "s.taobao.com"}});
  ASSERT_TRUE(response);
  EXPECT_EQ(response->status, 200);
  ASSERT_TRUE(site.terminate()) << "the stop request did not reach the program";
  EXPECT_EQ(site.wait(10s), 0) << site.err();
}

// The rules folder is named on the command line; a Chinese name must reach
// the file system as it was typed.
TEST(SampleSiteProgram, ServesTheRulesOfAFolderWithAChineseName) {
  const std::filesystem::path folder =
      pathFromUtf8(::testing::TempDir()) / pathFromUtf8("规则-" + std::to_string(currentProcessId()));
  std::filesystem::create_directories(folder / "taobao");
  std::filesystem::create_directories(folder / "ali");
  std::ofstream(folder / "taobao" / "ExtractImg.txt", std::ios::binary) << "rule of the folder";
  {
    ChildProcess site(programPath("gleaner-sample-site"), {"--port", "0", "--rules", utf8Of(folder)});
    ASSERT_TRUE(site.started()) << site.startError();
    const int port = startSite(site);
    ASSERT_NE(port, 0);
    httplib::Client client("127.0.0.1", port);
    const auto response = client.Get("/files/taobao/ExtractImg.txt", {{"Host", "s.taobao.com"}});
    ASSERT_TRUE(response);
    EXPECT_EQ(response->body, "rule of the folder");
  }
  std::filesystem::remove_all(folder);
}

TEST(SampleSiteProgram, RefusesBadArguments) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--port", "http"}, {"--port", "70000"}, {"--port"}, {"--rules", "/nonexistent-dir", "--port", "0"}, {"--bogus"}}) {
    std::string err;
    EXPECT_EQ(runToEnd(programPath("gleaner-sample-site"), args, 20s, nullptr, &err), 2) << args.front();
    EXPECT_NE(err.find("usage: gleaner-sample-site"), std::string::npos) << err;
  }
}

}  // namespace
}  // namespace gleaner::testing
