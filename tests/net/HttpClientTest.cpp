// The internet client against loopback servers: request headers, line
// reading, broken and stalled transfers, the abort switch, access types.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "net/HttpConnection.h"
#include "net/HttpFile.h"
#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "net/InternetSession.h"
#include "net/PageTextReader.h"
#include "support/ChildProcess.h"
#include "support/LoopbackServer.h"
#include "net/NetTest.h"
#include "net/RawServer.h"

namespace gleaner {
namespace {

using testing::answerWith;
using testing::LoopbackServer;
using testing::RawServer;
using Clock = std::chrono::steady_clock;

class HttpClient : public testing::NetTest {};

std::unique_ptr<HttpFile> sentRequest(InternetSession& session, int port, const std::string& object,
                                      std::string_view headers = {}) {
  auto connection = session.getHttpConnection("127.0.0.1", port);
  auto file = connection->openRequest("GET", object);
  file->addRequestHeaders(headers);
  file->sendRequest();
  return file;
}

std::vector<std::string> readLines(HttpFile& file) {
  std::vector<std::string> lines;
  std::string line;
  while (file.readLine(line)) lines.push_back(line);
  return lines;
}

TEST_F(HttpClient, AddsAHeaderOnlyWhenItsNameIsNew) {
  RawServer server(answerWith("HTTP/1.1 204 No Content\r\n\r\n"));
  InternetSession session("Agent Name", AccessType::Direct);
  auto connection = session.getHttpConnection("127.0.0.1", server.port());
  auto file = connection->openRequest("GET", "/");
  file->addRequestHeaders("Accept: text/html\r\nX-One: 1\r\n");
  file->addRequestHeaders("accept: image/*\nX-Two: 2");
  EXPECT_EQ(file->requestHeaders(), (std::vector<std::string>{"Accept: text/html", "X-One: 1", "X-Two: 2"}));
  EXPECT_THROW(file->addRequestHeaders("no colon here\r\n"), InternetError);
  file->sendRequest();
  EXPECT_EQ(file->queryStatusCode(), 204);
  EXPECT_THROW(file->addRequestHeaders("X-Late: 1\r\n"), InternetError);

  ASSERT_EQ(server.heads().size(), 1u);
  const std::string head = server.heads()[0];
  // Libcurl's own "Accept: */*" gives way; the session agent goes out where no
  // header names one.
  EXPECT_EQ(head, "GET / HTTP/1.1\r\nHost: " + server.hostPort() +
                      "\r\nUser-Agent: Agent Name\r\nAccept: text/html\r\nX-One: 1\r\nX-Two: 2\r\n\r\n");
}

TEST_F(HttpClient, ReadsLfAndCrLfBodiesAlikeAndKeepsALastLineWithoutLineFeed) {
  LoopbackServer server([](httplib::Server& s) {
    s.Get("/lf", [](const httplib::Request&, httplib::Response& res) { res.set_content("a\nb\n\nc", "text/plain"); });
    s.Get("/crlf", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("a\r\nb\r\n\r\nc", "text/plain");
    });
    s.Get("/cr", [](const httplib::Request&, httplib::Response& res) { res.set_content("a\rb\r\r\n", "text/plain"); });
    s.Get("/empty", [](const httplib::Request&, httplib::Response& res) { res.set_content("", "text/plain"); });
  });
  InternetSession session({}, AccessType::Direct);
  const std::vector<std::string> expected{"a", "b", "", "c"};
  auto lf = sentRequest(session, server.port(), "/lf");
  EXPECT_EQ(readLines(*lf), expected);
  auto crlf = sentRequest(session, server.port(), "/crlf");
  EXPECT_EQ(readLines(*crlf), expected);
  // Only a carriage return right before the line feed goes.
  auto cr = sentRequest(session, server.port(), "/cr");
  EXPECT_EQ(readLines(*cr), (std::vector<std::string>{"a\rb\r"}));
  auto empty = sentRequest(session, server.port(), "/empty");
  EXPECT_EQ(readPageText(*empty), "");
  auto again = sentRequest(session, server.port(), "/lf");
  EXPECT_EQ(readPageText(*again), "a\r\nb\r\n\r\nc\r\n");
}

TEST_F(HttpClient, ReadsABodyThatEndsWithTheConnectionAndLongBodiesWhole) {
  RawServer server([](RawServer::Connection& connection) {
    const std::string head = connection.readHead();
    if (head.find("/long") != std::string::npos) {
      std::string body;
      for (int i = 0; i < 20000; ++i) body += "line " + std::to_string(i) + "\r\n";
      connection.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n");
      connection.send(body);
    } else {
      connection.send("HTTP/1.0 200 OK\nX-Bare: lf\n\nfirst\nlast");
    }
  });
  InternetSession session({}, AccessType::Direct);
  auto file = sentRequest(session, server.port(), "/");
  EXPECT_EQ(file->queryRawHeaders(), "HTTP/1.0 200 OK\r\nX-Bare: lf\r\n\r\n");
  EXPECT_EQ(readLines(*file), (std::vector<std::string>{"first", "last"}));

  auto longFile = sentRequest(session, server.port(), "/long");
  const auto lines = readLines(*longFile);
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(lines.front(), "line 0");
  EXPECT_EQ(lines.back(), "line 19999");
}

TEST_F(HttpClient, ABodyThatBreaksOffFailsInsteadOfEndingEarly) {
  RawServer server(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nfirst\nlast"));
  InternetSession session({}, AccessType::Direct);
  auto file = sentRequest(session, server.port(), "/");
  EXPECT_EQ(file->queryStatusCode(), 200);
  EXPECT_THROW(readLines(*file), InternetError);
}

TEST_F(HttpClient, FailsToSendWhenNothingListensAndReadsNothingUnsent) {
  int port = 0;
  {
    LoopbackServer closed;
    port = closed.port();
  }
  InternetSession session({}, AccessType::Direct);
  auto connection = session.getHttpConnection("127.0.0.1", port);
  auto file = connection->openRequest("GET", "/");
  EXPECT_THROW(file->sendRequest(), InternetError);
  std::string line;
  EXPECT_THROW(file->readLine(line), InternetError);
  EXPECT_THROW(file->queryStatusCode(), InternetError);
  EXPECT_THROW(connection->openRequest("POST", "/"), InternetError);
  EXPECT_THROW(connection->openRequest("GET", "/a b"), InternetError);
  EXPECT_THROW(session.getHttpConnection("", 80), InternetError);
  EXPECT_THROW(session.openUrl("file:///etc/passwd"), InternetError);
}

TEST_F(HttpClient, AServerThatStopsSendingFailsAfterTheStallLimit) {
  useShortStallLimit();
  RawServer silent([](RawServer::Connection& connection) {
    connection.readHead();
    connection.holdOpen();
  });
  RawServer stalling([](RawServer::Connection& connection) {
    connection.readHead();
    connection.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nsome\n");
    connection.holdOpen();
  });
  InternetSession session({}, AccessType::Direct);

  auto started = Clock::now();
  EXPECT_THROW(sentRequest(session, silent.port(), "/"), InternetError);
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));

  started = Clock::now();
  auto file = sentRequest(session, stalling.port(), "/");
  std::string line;
  ASSERT_TRUE(file->readLine(line));
  EXPECT_EQ(line, "some");
  EXPECT_THROW(file->readLine(line), InternetError);
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));
}

TEST_F(HttpClient, AbortingFailsTransfersInProgressAndRefusesNewOnes) {
  RawServer silent([](RawServer::Connection& connection) {
    connection.readHead();
    connection.holdOpen();
  });
  auto aborter = std::async(std::launch::async, [] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    InternetClient::abortAllTransfers(true);
  });
  InternetSession session({}, AccessType::Direct);
  const auto started = Clock::now();
  EXPECT_THROW(session.openUrl(silent.url("/")), InternetError);
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(2));
  aborter.get();

  const int connections = silent.connections();
  EXPECT_THROW(session.openUrl(silent.url("/")), InternetError);
  EXPECT_EQ(silent.connections(), connections);

  InternetClient::abortAllTransfers(false);
  LoopbackServer server([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/plain"); });
  });
  auto file = session.openUrl(server.url("/"));
  EXPECT_EQ(readPageText(*file), "ok\r\n");
}

TEST_F(HttpClient, DirectAccessIgnoresTheProxyEnvironmentAndPreconfiguredUsesIt) {
  RawServer proxy(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\nproxied\n"));
  LoopbackServer server([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("direct\n", "text/plain"); });
  });
  testing::setEnvironment("http_proxy", proxy.url(""));
  InternetSession direct({}, AccessType::Direct);
  InternetSession preconfigured({}, AccessType::Preconfigured);
  auto viaDirect = direct.openUrl(server.url("/"));
  const std::string directText = readPageText(*viaDirect);
  auto viaProxy = preconfigured.openUrl("http://far.away.example/page?q=1");
  const std::string proxiedText = readPageText(*viaProxy);
  testing::setEnvironment("http_proxy", std::nullopt);

  EXPECT_EQ(directText, "direct\r\n");
  EXPECT_EQ(proxiedText, "proxied\r\n");
  ASSERT_EQ(proxy.heads().size(), 1u);
  EXPECT_EQ(proxy.heads()[0].rfind("GET http://far.away.example/page?q=1 HTTP/1.1\r\n", 0), 0u) << proxy.heads()[0];
}

}  // namespace
}  // namespace gleaner
