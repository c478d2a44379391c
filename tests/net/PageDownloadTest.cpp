// The one page download against loopback servers: the request each kind of
// download sends, the page text it hands over, and how it fails: the kind of
// failure, the limits, the abort switches, the proxy.
#include "net/PageDownload.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>

#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "net/NetTest.h"
#include "net/RawServer.h"
#include "support/ChildProcess.h"
#include "support/LoopbackServer.h"
#include "support/WaitFor.h"

namespace gleaner {
namespace {

using testing::answerWith;
using testing::failureOf;
using testing::LoopbackServer;
using testing::RawServer;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class PageDownload : public testing::NetTest {};

TEST_F(PageDownload, AResultPageGoesOutAsItStandsWithTheFixedHeadersOnce) {
  RawServer server(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nok\n"));
  const std::string object = "/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2&n=y#beginPage=2";
  const DownloadedPage page = downloadPage(PageRequest::resultPage(server.url(object)));
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.text, "ok\r\n");

  // Through the connect-to map a site host reaches the loopback server under
  // its own name.
  InternetClient::setConnectTo(ConnectTo::parse("some.host.example:80:127.0.0.1:" + std::to_string(server.port())));
  EXPECT_EQ(downloadPage(PageRequest::resultPage("http://some.host.example/offer/1.html#beginPage=1")).text, "ok\r\n");

  ASSERT_EQ(server.heads().size(), 2u);
  EXPECT_EQ(server.heads()[0], "GET " + object + " HTTP/1.1\r\nHost: " + server.hostPort() +
                                   "\r\nAccept: text/*\r\nUser-Agent: MFC\r\n\r\n");
  EXPECT_EQ(server.heads()[1],
            "GET /offer/1.html#beginPage=1 HTTP/1.1\r\nHost: some.host.example\r\nAccept: text/*\r\nUser-Agent: "
            "MFC\r\n\r\n");
}

TEST_F(PageDownload, AWholeAddressGoesByTheApplicationNameWithoutItsFragmentWhateverTheStatus) {
  RawServer server(answerWith("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot here\n"));
  const DownloadedPage page = downloadPage(PageRequest::wholeAddress(server.url("/item.htm?id=1#top")));
  EXPECT_EQ(page.status, 404);
  EXPECT_EQ(page.text, "not here\r\n");
  ASSERT_EQ(server.heads().size(), 1u);
  EXPECT_EQ(server.heads()[0], "GET /item.htm?id=1 HTTP/1.1\r\nHost: " + server.hostPort() +
                                   "\r\nUser-Agent: gleaner\r\nAccept: */*\r\n\r\n");
}

// The page text as the tool has always made it, one character at a time.
std::string pageTextByCharacter(const std::string& body) {
  std::string text;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\n' && (i == 0 || body[i - 1] != '\r')) text += '\r';
    text += body[i];
  }
  if (!body.empty() && body.back() != '\n') text += "\r\n";
  return text;
}

TEST(PageTextOf, EndsEveryLineInCrLfAndChangesNothingElse) {
  EXPECT_EQ(pageTextOf(""), "");
  EXPECT_EQ(pageTextOf("a\nb\n\nc"), "a\r\nb\r\n\r\nc\r\n");
  EXPECT_EQ(pageTextOf("a\r\nb\r\n\r\nc"), "a\r\nb\r\n\r\nc\r\n");
  // Only a carriage return right before a line feed belongs to the line end.
  EXPECT_EQ(pageTextOf("a\rb\r\r\n"), "a\rb\r\r\n");
  EXPECT_EQ(pageTextOf("a\r"), "a\r\r\n");
  EXPECT_EQ(pageTextOf("\n\xD6\xD0\n"), "\r\n\xD6\xD0\r\n");

  // Every body of up to seven of these bytes comes out as it always did.
  const char bytes[] = {'a', '\r', '\n', '\xD6'};
  std::string body;
  int compared = 0;
  const auto compareAll = [&](auto& self, std::size_t length) -> void {
    EXPECT_EQ(pageTextOf(body), pageTextByCharacter(body)) << ::testing::PrintToString(body);
    ++compared;
    if (length == 7) return;
    for (const char byte : bytes) {
      body.push_back(byte);
      self(self, length + 1);
      body.pop_back();
    }
  };
  compareAll(compareAll, 0);
  EXPECT_EQ(compared, (65536 - 1) / 3);  // 4^0 + 4^1 + ... + 4^7
}

TEST_F(PageDownload, ReadsABodyThatEndsWithTheConnectionAndLongBodiesWhole) {
  std::string longBody;
  for (int i = 0; i < 20000; ++i) longBody += "line " + std::to_string(i) + (i % 2 == 0 ? "\n" : "\r\n");
  RawServer server([&longBody](RawServer::Connection& connection) {
    const std::string head = connection.readHead();
    if (head.find("/long") != std::string::npos) {
      connection.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(longBody.size()) + "\r\n\r\n");
      connection.send(longBody);
    } else {
      connection.send("HTTP/1.0 200 OK\nX-Bare: lf\n\nfirst\nlast");
    }
  });
  EXPECT_EQ(downloadPage(PageRequest::resultPage(server.url("/"))).text, "first\r\nlast\r\n");
  EXPECT_EQ(downloadPage(PageRequest::resultPage(server.url("/long"))).text, pageTextByCharacter(longBody));
}

TEST_F(PageDownload, EachFailureSaysWhatKindItIs) {
  int closedPort = 0;
  {
    LoopbackServer closed;
    closedPort = closed.port();
  }
  const std::string unreachable = "http://127.0.0.1:" + std::to_string(closedPort) + "/page";
  for (const PageRequest& request : {PageRequest::resultPage(unreachable), PageRequest::wholeAddress(unreachable)}) {
    const auto failure = failureOf(request);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), FailureKind::Unreachable) << failure->what();
  }

  // A body that breaks off is never taken for a whole page.
  RawServer cut(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nfirst\nlast"));
  auto failure = failureOf(PageRequest::wholeAddress(cut.url("/cut")));
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind(), FailureKind::BrokenOff) << failure->what();

  // A result page counts only with status 200; the status is kept.
  RawServer missing(answerWith("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot here\n"));
  failure = failureOf(PageRequest::resultPage(missing.url("/missing")));
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind(), FailureKind::Status);
  EXPECT_EQ(failure->status(), 404);
  EXPECT_STREQ(failure->what(), (missing.url("/missing") + ": status 404").c_str());
}

TEST_F(PageDownload, FailsAnAddressItCannotUseBeforeConnecting) {
  RawServer server(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nok\n"));
  // A result page goes out as it stands, so only plain http will do.
  for (const std::string& address : {std::string(), "ftp://" + server.hostPort() + "/x",
                                     "https://" + server.hostPort() + "/x", server.url("/a b"),
                                     std::string("not an address")}) {
    SCOPED_TRACE(address);
    const auto failure = failureOf(PageRequest::resultPage(address));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), FailureKind::BadAddress);
    EXPECT_STREQ(failure->what(), ("not an http address: " + address).c_str());
  }
  for (const std::string& address : {std::string(), std::string("item.taobao.com/item.htm"),
                                     "ftp://" + server.hostPort() + "/x", std::string("http://")}) {
    SCOPED_TRACE(address);
    const auto failure = failureOf(PageRequest::wholeAddress(address));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), FailureKind::BadAddress);
  }
  EXPECT_EQ(server.connections(), 0);
}

TEST_F(PageDownload, AServerThatStopsSendingFailsAfterTheStallLimit) {
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
  for (const std::string& address : {silent.url("/silent"), stalling.url("/stalling")}) {
    SCOPED_TRACE(address);
    const auto started = Clock::now();
    const auto failure = failureOf(PageRequest::resultPage(address));
    EXPECT_LT(Clock::now() - started, 5s);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), FailureKind::NoAnswer);
    EXPECT_NE(std::string(failure->what()).find("nothing received for 1 s"), std::string::npos) << failure->what();
  }
}

// Servers that never stall yet never finish: the deadline of the whole
// download ends them.
TEST_F(PageDownload, FailsAPageWhoseBodyOrHeadTricklesPastTheDeadline) {
  InternetClient::Limits limits;
  limits.totalTimeout = std::chrono::seconds(1);
  InternetClient::setLimits(limits);
  for (auto handler : {testing::trickledBody(), testing::trickledHead()}) {
    RawServer server(handler);
    for (const PageRequest& request :
         {PageRequest::resultPage(server.url("/slow")), PageRequest::wholeAddress(server.url("/slow"))}) {
      const auto started = Clock::now();
      const auto failure = failureOf(request);
      const auto took = Clock::now() - started;
      EXPECT_GE(took, 900ms);
      EXPECT_LT(took, 4s);
      ASSERT_TRUE(failure);
      EXPECT_EQ(failure->kind(), FailureKind::NoAnswer);
      EXPECT_NE(std::string(failure->what()).find("not done within 1 s"), std::string::npos) << failure->what();
    }
  }
  // Bytes arriving inside one header line are bytes received: no stall.
  limits.stallTimeout = std::chrono::seconds(1);
  limits.totalTimeout = std::chrono::seconds(2);
  InternetClient::setLimits(limits);
  RawServer line(testing::trickledHeadLine());
  const auto failure = failureOf(PageRequest::resultPage(line.url("/line")));
  ASSERT_TRUE(failure);
  EXPECT_NE(std::string(failure->what()).find("not done within 2 s"), std::string::npos) << failure->what();
}

// An endless body stops at the 16 MiB limit, or the request's own; an endless
// head at its own.
TEST_F(PageDownload, FailsAPageOverItsSizeLimit) {
  EXPECT_EQ(InternetClient::limits().maxBodyBytes, 16u * 1024 * 1024);
  RawServer body(testing::endlessBody());
  auto failure = failureOf(PageRequest::resultPage(body.url("/endless")));
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind(), FailureKind::TooLarge);
  EXPECT_NE(std::string(failure->what()).find("body larger than 16777216 bytes"), std::string::npos)
      << failure->what();

  RawServer head(testing::endlessHead());
  failure = failureOf(PageRequest::wholeAddress(head.url("/endless")));
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind(), FailureKind::TooLarge);
  EXPECT_NE(std::string(failure->what()).find("response head larger than"), std::string::npos) << failure->what();
  RawServer headLine(testing::endlessHeadLine());
  failure = failureOf(PageRequest::resultPage(headLine.url("/endless")));
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind(), FailureKind::TooLarge);
  EXPECT_NE(std::string(failure->what()).find("response head line longer than 102400 bytes"), std::string::npos)
      << failure->what();

  RawServer small(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nabc\n"));
  PageRequest request = PageRequest::wholeAddress(small.url("/rule"));
  request.maxBodyBytes = 4;
  EXPECT_EQ(downloadPage(request).text, "abc\r\n");
  request.maxBodyBytes = 3;
  failure = failureOf(request);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind(), FailureKind::TooLarge);
}

// The client-wide abort (the program closing) and a request's own flag (its
// run's stop) each end a download under way within a second and refuse new
// ones without a connection.
TEST_F(PageDownload, AnAbortEndsADownloadAtOnceAndRefusesNewOnes) {
  RawServer silent([](RawServer::Connection& connection) {
    connection.readHead();
    connection.holdOpen();
  });
  std::atomic<bool> stop{false};
  PageRequest ownFlag = PageRequest::resultPage(silent.url("/"));
  ownFlag.abortFlag = &stop;
  struct Case {
    PageRequest request;
    std::function<void(bool)> abort;
  };
  const Case cases[] = {
      {PageRequest::wholeAddress(silent.url("/")), [](bool on) { InternetClient::abortAllTransfers(on); }},
      {ownFlag, [&stop](bool on) { stop = on; }},
  };
  for (const Case& c : cases) {
    const PageRequest& request = c.request;
    const std::size_t heads = silent.heads().size();
    auto download = std::async(std::launch::async, [&request] { return failureOf(request); });
    ASSERT_TRUE(testing::waitFor([&] { return silent.heads().size() > heads; }, 10s));
    const auto aborted = Clock::now();
    c.abort(true);
    const auto failure = download.get();
    EXPECT_LT(Clock::now() - aborted, 1s);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), FailureKind::Aborted) << failure->what();

    const int connections = silent.connections();
    const auto refused = failureOf(request);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind(), FailureKind::Aborted);
    EXPECT_EQ(silent.connections(), connections);
    c.abort(false);
  }

  RawServer server(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"));
  EXPECT_EQ(downloadPage(PageRequest::wholeAddress(server.url("/"))).text, "ok\r\n");
}

// An environment variable set for the length of a test.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
    testing::setEnvironment(name_, value);
  }
  ~ScopedEnvironment() { testing::setEnvironment(name_, std::nullopt); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
};

// Result pages go straight to the site whatever the environment says; a
// whole address goes through the system's proxy.
TEST_F(PageDownload, AResultPageIgnoresTheProxyAndAWholeAddressGoesThroughIt) {
  RawServer proxy(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\nproxied\n"));
  RawServer site(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\ndirect\n"));
  const ScopedEnvironment environment("http_proxy", proxy.url(""));

  InternetClient::setConnectTo(ConnectTo::parse("far.away.example:80:127.0.0.1:" + std::to_string(site.port())));
  EXPECT_EQ(downloadPage(PageRequest::resultPage("http://far.away.example/page?q=1")).text, "direct\r\n");
  EXPECT_TRUE(proxy.heads().empty());

  InternetClient::setConnectTo({});
  EXPECT_EQ(downloadPage(PageRequest::wholeAddress("http://far.away.example/page?q=1")).text, "proxied\r\n");
  ASSERT_EQ(proxy.heads().size(), 1u);
  EXPECT_EQ(proxy.heads()[0].rfind("GET http://far.away.example/page?q=1 HTTP/1.1\r\n", 0), 0u) << proxy.heads()[0];
}

}  // namespace
}  // namespace gleaner
