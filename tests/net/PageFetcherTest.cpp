#include "engine/PageFetcher.h"

#include <gtest/gtest.h>

#include <chrono>

#include "engine/CollectionState.h"
#include "engine/MemoryWindow.h"
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

  // The page failed: the slot is back and exactly one report, this one, was made.
  void expectFailed(const std::optional<std::string>& page, const std::string& address) {
    EXPECT_FALSE(page);
    EXPECT_EQ(state.workerCount(), 0);
    const auto reports = window.reports();
    ASSERT_EQ(reports.size(), ++failures_);
    EXPECT_EQ(reports.back(), address + "\r\nDownload failed!\r\n");
    EXPECT_EQ(window.reportCount(), 0);  // not a counted report
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

TEST_F(PageFetcherTest, FollowsOneRedirectByHand) {
  LoopbackServer server([](httplib::Server& s) {
    s.Get("/moved", [](const httplib::Request& req, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "http://" + req.get_header_value("Host") + "/page");
    });
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) { res.set_content("page\n", "text/html"); });
  });
  expectFetched(fetch(server.url("/moved")), "page\r\n");
}

TEST_F(PageFetcherTest, FailsASecondRedirectAndRedirectsItCannotFollow) {
  LoopbackServer server([](httplib::Server& s) {
    const auto redirect = [](int status, std::string location) {
      return [status, location](const httplib::Request& req, httplib::Response& res) {
        res.status = status;
        std::string target = location;
        if (target.rfind("/", 0) == 0) target = "http://" + req.get_header_value("Host") + target;
        if (!target.empty()) res.set_header("Location", target);
        res.set_content("moved\n", "text/html");
      };
    };
    s.Get("/twice", redirect(301, "/once"));
    s.Get("/once", redirect(303, "/page"));
    s.Get("/nowhere", redirect(302, ""));
    s.Get("/ftp", redirect(302, "ftp://127.0.0.1/page"));
    s.Get("/relative", redirect(302, "page"));
    s.Get("/page", [](const httplib::Request&, httplib::Response& res) { res.set_content("page\n", "text/html"); });
  });
  for (const char* path : {"/twice", "/nowhere", "/ftp", "/relative"}) {
    SCOPED_TRACE(path);
    expectFailed(fetch(server.url(path)), server.url(path));
  }
}

TEST_F(PageFetcherTest, FailsAnyStatusButTwoHundredWithTheReportLine) {
  LoopbackServer server([](httplib::Server& s) {
    s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("not here\n", "text/html");
    });
    s.Get("/other", [](const httplib::Request&, httplib::Response& res) {
      res.status = 307;
      res.set_header("Location", "/page");
    });
  });
  expectFailed(fetch(server.url("/missing")), server.url("/missing"));
  // Only 301, 302 and 303 are followed.
  expectFailed(fetch(server.url("/other")), server.url("/other"));
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

}  // namespace
}  // namespace gleaner
