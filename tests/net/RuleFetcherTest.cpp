#include "extract/RuleFetcher.h"

#include <gtest/gtest.h>

#include <chrono>

#include "engine/SimpleFetch.h"
#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "net/NetTest.h"
#include "net/RawServer.h"
#include "support/LoopbackServer.h"

namespace gleaner {
namespace {

using testing::answerWith;
using testing::LoopbackServer;
using testing::RawServer;

class WholeAddressFetch : public testing::NetTest {};

void serveText(httplib::Server& s, const std::string& path, std::string body, int status = 200) {
  s.Get(path, [body, status](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_content(body, "text/plain");
  });
}

TEST_F(WholeAddressFetch, RuleFetcherReturnsAnyBodyWhateverTheStatus) {
  LoopbackServer server([](httplib::Server& s) {
    serveText(s, "/files/ali/ExtractTextAImg.txt", "(a\r\nb)\r\n");
    serveText(s, "/files/ali/oneline.txt", "(ab)");
    serveText(s, "/missing", "not here\n", 404);
    serveText(s, "/empty", "");
  });
  const std::string rule = RuleFetcher(server.url("/files/ali/ExtractTextAImg.txt"));
  EXPECT_EQ(rule, "(a\r\nb)\r\n");
  EXPECT_EQ(ruleTextToPattern(rule), "(ab)");
  EXPECT_EQ(ruleTextToPattern(RuleFetcher(server.url("/files/ali/oneline.txt"))), "(ab)");
  EXPECT_EQ(RuleFetcher(server.url("/missing")), "not here\r\n");
  EXPECT_EQ(RuleFetcher(server.url("/empty")), "");
}

TEST(RuleTextToPattern, RemovesEveryCrLfPairCharacterByCharacter) {
  EXPECT_EQ(ruleTextToPattern("\xD6\xD0\r\n(\\d+)\r\n\r\n"), "\xD6\xD0(\\d+)");
  // A lone CR or LF is part of the pattern.
  EXPECT_EQ(ruleTextToPattern("a\rb\nc\n\r"), "a\rb\nc\n\r");
  EXPECT_EQ(ruleTextToPattern(""), "");
}

TEST_F(WholeAddressFetch, FollowsRedirectsItself) {
  LoopbackServer server([](httplib::Server& s) {
    s.Get("/a", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/b", 301); });
    s.Get("/b", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/item.htm?id=1", 302); });
    serveText(s, "/item.htm", "<div data-reviewApi=\"x\">\n");
  });
  EXPECT_EQ(SimpleFetch(server.url("/a")), "<div data-reviewApi=\"x\">\r\n");
  EXPECT_EQ(RuleFetcher(server.url("/a")), "<div data-reviewApi=\"x\">\r\n");
}

TEST_F(WholeAddressFetch, ThrowsWhenItCannotConnectOrTheBodyBreaksOff) {
  int port = 0;
  {
    LoopbackServer closed;
    port = closed.port();
  }
  const std::string unreachable = "http://127.0.0.1:" + std::to_string(port) + "/files/ali/x.txt";
  EXPECT_THROW(RuleFetcher(unreachable), InternetError);
  EXPECT_THROW(SimpleFetch(unreachable), InternetError);

  RawServer cut(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789"));
  EXPECT_THROW(RuleFetcher(cut.url("/rule")), InternetError);
  EXPECT_THROW(SimpleFetch(cut.url("/item")), InternetError);

  for (const char* address : {"", "item.taobao.com/item.htm", "ftp://127.0.0.1/x", "http://"}) {
    EXPECT_THROW(SimpleFetch(address), InternetError) << address;
  }
}

// Rule files, offer and rating pages and the item page have the same limits
// as result pages: a deadline for the whole download and a size limit.
TEST_F(WholeAddressFetch, FailsATricklingOrEndlessBodyAndOneOverItsLimit) {
  InternetClient::Limits limits;
  limits.totalTimeout = std::chrono::seconds(1);
  InternetClient::setLimits(limits);
  RawServer trickling(testing::trickledBody());
  const auto started = std::chrono::steady_clock::now();
  EXPECT_THROW(RuleFetcher(trickling.url("/rule")), InternetError);
  EXPECT_THROW(SimpleFetch(trickling.url("/item")), InternetError);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(6));
  InternetClient::setLimits({});

  RawServer endless(testing::endlessBody());
  EXPECT_THROW(SimpleFetch(endless.url("/item")), InternetError);
  try {
    RuleFetcher(endless.url("/rule"), 64 * 1024);
    ADD_FAILURE() << "an endless rule file was read";
  } catch (const InternetError& error) {
    EXPECT_NE(std::string(error.what()).find("body larger than 65536 bytes"), std::string::npos) << error.what();
  }
  RawServer small(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nabc\n"));
  EXPECT_EQ(RuleFetcher(small.url("/rule"), 4), "abc\r\n");
  EXPECT_THROW(RuleFetcher(small.url("/rule"), 3), InternetError);
}

TEST_F(WholeAddressFetch, GoesByTheApplicationNameAndAcceptsAnything) {
  RawServer server(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"));
  EXPECT_EQ(SimpleFetch(server.url("/item.htm?id=1#top")), "");
  ASSERT_EQ(server.heads().size(), 1u);
  EXPECT_EQ(server.heads()[0], "GET /item.htm?id=1 HTTP/1.1\r\nHost: " + server.hostPort() +
                                   "\r\nUser-Agent: gleaner\r\nAccept: */*\r\n\r\n");
}

}  // namespace
}  // namespace gleaner
