#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "rules/BuiltinRuleServer.h"
#include "rules/EmbeddedRules.h"
#include "rules/RuleServerChoice.h"

namespace gleaner {
namespace {

const char* const kRuleFiles[] = {"taobao/ExtractAllText.txt", "taobao/ExtractTextAImg3.txt",
                                  "taobao/ExtractImg.txt",     "taobao/ExtractTextAImg31.txt",
                                  "ali/ExtractTextAImg.txt",   "ali/ExtractTextAImg01.txt",
                                  "ali/EmptyOfferSearch.txt",  "taobao/EmptyReviewPage.txt",
                                  "taobao/EmptySellerSearch.txt"};

std::string sourceRuleFile(const std::string& name) {
  const auto root = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
  std::ifstream in(root / "rules" / "files" / name, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read rules/files/" + name);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(BuiltinRuleServer, ServesEachRuleFileByteForByteOnAnyHost) {
  BuiltinRuleServer server;
  server.start();
  httplib::Client client("127.0.0.1", server.port());
  for (const char* name : kRuleFiles) {
    SCOPED_TRACE(name);
    const std::string source = sourceRuleFile(name);
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(source.find('\r'), std::string::npos) << "rule files keep LF line ends";
    for (const char* host : {"127.0.0.1", "rules.example.com"}) {
      const auto response = client.Get((std::string("/files/") + name).c_str(), {{"Host", host}});
      ASSERT_TRUE(response);
      EXPECT_EQ(response->status, 200);
      EXPECT_EQ(response->body, source);
    }
  }
  EXPECT_EQ(embeddedRuleFiles().size(), std::size(kRuleFiles));
}

TEST(BuiltinRuleServer, AnswersAnythingElseWith404) {
  BuiltinRuleServer server;
  server.start();
  httplib::Client client("127.0.0.1", server.port());
  for (const char* path : {"/", "/files/", "/files/taobao/", "/files/taobao/Missing.txt", "/files/ali/ExtractImg.txt",
                           "/files/other/ExtractImg.txt", "/files/taobao/ExtractImg.txt.bak", "/taobao/ExtractImg.txt",
                           "/files/taobao/../ali/ExtractTextAImg.txt"}) {
    SCOPED_TRACE(path);
    const auto response = client.Get(path);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 404);
  }
}

TEST(BuiltinRuleServer, StartsOnAFreeLoopbackPortAndStopsSafely) {
  BuiltinRuleServer server;
  server.stop();  // before start: nothing to stop
  const int port = server.start();
  EXPECT_GT(port, 0);
  EXPECT_EQ(server.hostPort(), "127.0.0.1:" + std::to_string(port));
  EXPECT_TRUE(server.running());
  server.stop();
  server.stop();
  EXPECT_FALSE(server.running());
  httplib::Client client("127.0.0.1", port);
  client.set_connection_timeout(1);
  EXPECT_FALSE(client.Get("/files/taobao/ExtractImg.txt"));
}

TEST(BuiltinRuleServer, ReportsAPortItCannotBind) {
  BuiltinRuleServer first;
  const int port = first.start();
  BuiltinRuleServer second;
  EXPECT_THROW(second.start(port), std::runtime_error);
}

TEST(RuleServerChoice, AConfiguredServerWinsAndLeavesTheBuiltInOneAlone) {
  BuiltinRuleServer builtIn;
  EXPECT_EQ(chooseRuleServer(std::string("rules.example.com:8080"), builtIn), "rules.example.com:8080");
  EXPECT_FALSE(builtIn.running());
}

TEST(RuleServerChoice, WithoutConfigurationTheBuiltInServerIsStartedOnce) {
  BuiltinRuleServer builtIn;
  const std::string first = chooseRuleServer(std::nullopt, builtIn);
  EXPECT_TRUE(builtIn.running());
  EXPECT_EQ(first, builtIn.hostPort());
  EXPECT_EQ(chooseRuleServer(std::nullopt, builtIn), first);
}

TEST(RuleServerChoice, NormalizesOrRejectsTheConfiguredValue) {
  EXPECT_EQ(normalizedRuleServer("rules.example.com"), "rules.example.com");
  EXPECT_EQ(normalizedRuleServer(" 127.0.0.1:9000\n"), "127.0.0.1:9000");
  EXPECT_EQ(normalizedRuleServer("http://127.0.0.1:9000/"), "127.0.0.1:9000");
  for (const char* bad : {"", ":80", "host:", "host:0", "host:65536", "host:8o", "host/files", "two words",
                          "http://host/files/"}) {
    SCOPED_TRACE(bad);
    try {
      normalizedRuleServer(bad);
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find("GLEANER_RULE_SERVER"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace gleaner
