#include "engine/PageFetcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "engine/CollectionState.h"
#include "engine/MemoryWindow.h"
#include "net/HttpFile.h"
#include "net/InternetClient.h"
#include "net/NetTest.h"
#include "net/RawServer.h"
#include "support/LoopbackServer.h"

namespace gleaner {
namespace {

using testing::answerWith;
using testing::LoopbackServer;
using testing::RawServer;

// A worker's side of a fetch: it holds a slot while it fetches.
class PageFetcherTest : public testing::NetTest {
 protected:
  std::optional<std::string> fetch(const std::string& address) {
    state.acquireWorker();
    return PageFetcher(address, state, window);
  }

  // The page failed: the slot is back and exactly one report, this one, was
  // made: the address, "Download failed!", and the reason on a last line.
  // Returns the reason.
  std::string expectFailed(const std::optional<std::string>& page, const std::string& address) {
    EXPECT_FALSE(page);
    EXPECT_EQ(state.workerCount(), 0);
    const auto reports = window.reports();
    EXPECT_EQ(reports.size(), ++failures_);
    EXPECT_EQ(window.reportCount(), 0);  // not a counted report
    if (reports.empty()) return {};
    const std::string head = address + "\r\nDownload failed!\r\n";
    const std::string& report = reports.back();
    EXPECT_EQ(report.substr(0, head.size()), head);
    if (report.size() <= head.size() + 2) return {};
    EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
    const std::string reason = report.substr(head.size(), report.size() - head.size() - 2);
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
    return reason;
  }

  void expectFetched(const std::optional<std::string>& page, const std::string& text) {
    ASSERT_TRUE(page);
    EXPECT_EQ(*page, text);
    // The slot stays with the worker, which gives it back when its page is done.
    EXPECT_EQ(state.workerCount(), 1);
    EXPECT_TRUE(window.reports().empty());
  }

  CollectionState state;
  MemoryWindow window;

 private:
  std::size_t failures_ = 0;
};

TEST_F(PageFetcherTest, SendsTheObjectWithItsFragmentAndTheFixedHeadersOnce) {
  RawServer server(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nok\n"));
  const std::string object = "/selloffer/offer_search.htm?keywords=%BA%CB%CC%D2&n=y#beginPage=2";

  expectFetched(fetch(server.url(object)), "ok\r\n");
  ASSERT_EQ(server.heads().size(), 1u);
  EXPECT_EQ(server.heads()[0], "GET " + object + " HTTP/1.1\r\nHost: " + server.hostPort() +
                                   "\r\nAccept: text/*\r\nUser-Agent: MFC\r\n\r\n");
}

TEST_F(PageFetcherTest, ConnectToSendsASiteHostToTheLoopbackServerUnderItsOwnName) {
  RawServer server(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nok\n"));
  InternetClient::setConnectTo(ConnectTo::parse("some.host.example:80:127.0.0.1:" + std::to_string(server.port())));

  expectFetched(fetch("http://some.host.example/offer/1.html#beginPage=1"), "ok\r\n");
  ASSERT_EQ(server.heads().size(), 1u);
  EXPECT_EQ(server.heads()[0],
            "GET /offer/1.html#beginPage=1 HTTP/1.1\r\nHost: some.host.example\r\nAccept: text/*\r\nUser-Agent: "
            "MFC\r\n\r\n");
}

TEST_F(PageFetcherTest, EndsEveryBodyLineInCrLf) {
  LoopbackServer server([](httplib::Server& s) {
    s.Get("/lf", [](const httplib::Request&, httplib::Response& res) { res.set_content("a\nb", "text/html"); });
    s.Get("/crlf", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("\xD6\xD0\r\nb\r\n", "text/html");
    });
    s.Get("/empty", [](const httplib::Request&, httplib::Response& res) { res.set_content("", "text/html"); });
  });
  expectFetched(fetch(server.url("/lf")), "a\r\nb\r\n");
  state.releaseWorker();
  expectFetched(fetch(server.url("/crlf")), "\xD6\xD0\r\nb\r\n");
  state.releaseWorker();
  expectFetched(fetch(server.url("/empty")), "");
}

// A redirect answer with exactly these header lines, then a short body.
std::string redirectAnswer(int status, const std::string& headers) {
  return "HTTP/1.1 " + std::to_string(status) + " Moved\r\n" + headers + "Content-Length: 6\r\n\r\nmoved\n";
}

// Plain-http redirects are followed by the client as a browser would: chains,
// 307 and 308, headers in any case, relative locations. Each hop sends its own
// request line, fragment included, never the first one again.
TEST_F(PageFetcherTest, TheClientFollowsPlainHttpRedirectChains) {
  RawServer server([](RawServer::Connection& connection) {
    const std::string head = connection.readHead();
    const std::string target = head.substr(4, head.find(' ', 4) - 4);
    const std::map<std::string, std::string> answers = {
        {"/twice#beginPage=1", redirectAnswer(301, "Location: /once#beginPage=2\r\n")},
        {"/once#beginPage=2", redirectAnswer(303, "location:   /seven  \r\n")},
        {"/seven", redirectAnswer(307, "LOCATION: eight?x=1\r\n")},
        {"/eight?x=1", redirectAnswer(308, "Content-Location: /wrong\r\nLocation: /page\r\n")},
        {"/page", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\npage\n"},
    };
    const auto it = answers.find(target);
    connection.send(it != answers.end() ? it->second : "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
  });
  expectFetched(fetch(server.url("/twice#beginPage=1")), "page\r\n");
  std::vector<std::string> lines;
  for (const std::string& head : server.heads()) lines.push_back(head.substr(0, head.find("\r\n")));
  EXPECT_EQ(lines, (std::vector<std::string>{"GET /twice#beginPage=1 HTTP/1.1", "GET /once#beginPage=2 HTTP/1.1",
                                             "GET /seven HTTP/1.1", "GET /eight?x=1 HTTP/1.1", "GET /page HTTP/1.1"}));
  // Every hop carries the fixed headers.
  for (const std::string& head : server.heads()) {
    EXPECT_NE(head.find("\r\nAccept: text/*\r\nUser-Agent: MFC\r\n"), std::string::npos) << head;
  }
}

TEST_F(PageFetcherTest, ARedirectToAnotherSiteKeepsTheConnectToMapAndTheRealHost) {
  RawServer target(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nok\n"));
  RawServer first(answerWith(redirectAnswer(302, "Location: http://other.site.example/offer/1.html\r\n")));
  InternetClient::setConnectTo(ConnectTo::parse("other.site.example:80:127.0.0.1:" + std::to_string(target.port())));
  expectFetched(fetch(first.url("/go")), "ok\r\n");
  ASSERT_EQ(target.heads().size(), 1u);
  EXPECT_EQ(target.heads()[0].rfind("GET /offer/1.html HTTP/1.1\r\nHost: other.site.example\r\n", 0), 0u)
      << target.heads()[0];
}

// What the client hands back gets the one step by hand: a redirect to https
// fails as "not HTTP" without any connection; so does one without a
// location. A loop ends after a bounded number of hops.
TEST_F(PageFetcherTest, FailsRedirectsItCannotFollowAndLoops) {
  RawServer server([](RawServer::Connection& connection) {
    const std::string head = connection.readHead();
    const std::string target = head.substr(4, head.find(' ', 4) - 4);
    const std::map<std::string, std::string> answers = {
        {"/secure", redirectAnswer(302, "Location: https://127.0.0.1:1/page\r\n")},
        {"/secure307", redirectAnswer(307, "Location: https://127.0.0.1:1/page\r\n")},
        {"/nowhere", redirectAnswer(302, "")},
        {"/empty", redirectAnswer(301, "Location: \r\n")},
        {"/ftp", redirectAnswer(303, "Location: ftp://127.0.0.1/page\r\n")},
        {"/loop", redirectAnswer(302, "Location: /loop\r\n")},
        {"/missing", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot here\n"},
    };
    const auto it = answers.find(target);
    connection.send(it != answers.end() ? it->second : "HTTP/1.1 500 Oops\r\nContent-Length: 0\r\n\r\n");
  });
  for (const char* path : {"/secure", "/secure307", "/nowhere", "/empty", "/ftp", "/missing"}) {
    SCOPED_TRACE(path);
    const int before = server.connections();
    expectFailed(fetch(server.url(path)), server.url(path));
    EXPECT_EQ(server.connections(), before + 1);
  }
  const int before = server.connections();
  const std::string reason = expectFailed(fetch(server.url("/loop")), server.url("/loop"));
  EXPECT_NE(reason.find("redirects"), std::string::npos) << reason;
  EXPECT_EQ(server.connections() - before, 1 + HttpFile::kMaxRedirects);
}

TEST_F(PageFetcherTest, FailsAnAddressItCannotUseBeforeConnecting) {
  RawServer server(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nok\n"));
  for (const std::string& address :
       {std::string(), "ftp://" + server.hostPort() + "/x", "https://" + server.hostPort() + "/x",
        server.url("/a b"), std::string("not an address")}) {
    SCOPED_TRACE(address);
    expectFailed(fetch(address), address);
  }
  EXPECT_EQ(server.connections(), 0);
}

TEST_F(PageFetcherTest, DropsAPageWhoseBodyBreaksOffOrStalls) {
  useShortStallLimit();
  RawServer cut(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789"));
  expectFailed(fetch(cut.url("/cut")), cut.url("/cut"));

  RawServer silent([](RawServer::Connection& connection) {
    connection.readHead();
    connection.holdOpen();
  });
  const auto started = std::chrono::steady_clock::now();
  expectFailed(fetch(silent.url("/silent")), silent.url("/silent"));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

// Servers that never stall yet never finish: the total deadline ends them.
TEST_F(PageFetcherTest, FailsAPageWhoseBodyOrHeadTricklesPastTheDeadline) {
  InternetClient::Limits limits;
  limits.totalTimeout = std::chrono::seconds(1);
  InternetClient::setLimits(limits);
  for (auto handler : {testing::trickledBody(), testing::trickledHead()}) {
    RawServer server(handler);
    const auto started = std::chrono::steady_clock::now();
    const std::string reason = expectFailed(fetch(server.url("/slow")), server.url("/slow"));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::seconds(4));
    EXPECT_NE(reason.find("not done within 1 s"), std::string::npos) << reason;
  }
  // Bytes arriving inside one header line are bytes received: no stall.
  limits.stallTimeout = std::chrono::seconds(1);
  limits.totalTimeout = std::chrono::seconds(2);
  InternetClient::setLimits(limits);
  RawServer server(testing::trickledHeadLine());
  const std::string reason = expectFailed(fetch(server.url("/line")), server.url("/line"));
  EXPECT_NE(reason.find("not done within 2 s"), std::string::npos) << reason;
}

// An endless body stops at the 16 MiB limit; an endless head at its own, an
// endless header line at libcurl's.
TEST_F(PageFetcherTest, FailsAPageWhoseBodyOrHeadHasNoEnd) {
  EXPECT_EQ(InternetClient::limits().maxBodyBytes, 16u * 1024 * 1024);
  RawServer body(testing::endlessBody());
  std::string reason = expectFailed(fetch(body.url("/endless")), body.url("/endless"));
  EXPECT_NE(reason.find("body larger than 16777216 bytes"), std::string::npos) << reason;

  RawServer head(testing::endlessHead());
  reason = expectFailed(fetch(head.url("/endless")), head.url("/endless"));
  EXPECT_NE(reason.find("response head larger than"), std::string::npos) << reason;
  RawServer line(testing::endlessHeadLine());
  reason = expectFailed(fetch(line.url("/endless")), line.url("/endless"));
  EXPECT_NE(reason.find("response head line longer than 102400 bytes"), std::string::npos) << reason;
}

TEST_F(PageFetcherTest, AReportCarriesNoControlCharacterOfTheAddressOrTheServer) {
  // Such an address comes from a page (the item page's review address).
  const std::string address = "http://127.0.0.1:1/\x1B]0;owned\x07";
  expectFailed(fetch(address), "http://127.0.0.1:1/?]0;owned?");
}

}  // namespace
}  // namespace gleaner
