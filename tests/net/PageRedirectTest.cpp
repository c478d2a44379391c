// Redirects as the one page download follows them, against loopback servers:
// hop by hop, each hop its own request, only within the scheme the download
// started with, and never more than kMaxRedirects hops.
#include "net/PageDownload.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "net/NetTest.h"
#include "net/RawServer.h"

namespace gleaner {
namespace {

using testing::answerWith;
using testing::failureOf;
using testing::RawServer;

class PageRedirect : public testing::NetTest {};

// A redirect answer with exactly these header lines, then a short body.
std::string redirectAnswer(int status, const std::string& headers) {
  return "HTTP/1.1 " + std::to_string(status) + " Moved\r\n" + headers + "Content-Length: 6\r\n\r\nmoved\n";
}

std::string targetOf(const std::string& head) { return head.substr(4, head.find(' ', 4) - 4); }

// A server that answers each request target from the map, 404 elsewhere.
RawServer::Handler answering(std::map<std::string, std::string> answers) {
  return [answers = std::move(answers)](RawServer::Connection& connection) {
    const auto it = answers.find(targetOf(connection.readHead()));
    connection.send(it != answers.end() ? it->second : "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
  };
}

std::vector<std::string> requestLines(const RawServer& server) {
  std::vector<std::string> lines;
  for (const std::string& head : server.heads()) lines.push_back(head.substr(0, head.find("\r\n")));
  return lines;
}

// Chains, 307 and 308, headers in any case, relative locations. Each hop
// sends its own request line, fragment included, and the request's headers,
// never the first request again.
TEST_F(PageRedirect, AResultPageFollowsPlainHttpRedirectsHopByHop) {
  RawServer server(answering({
      {"/twice#beginPage=1", redirectAnswer(301, "Location: /once#beginPage=2\r\n")},
      {"/once#beginPage=2", redirectAnswer(303, "location:   /seven  \r\n")},
      {"/seven", redirectAnswer(307, "LOCATION: eight?x=1\r\n")},
      {"/eight?x=1", redirectAnswer(308, "Content-Location: /wrong\r\nLocation: /page\r\n")},
      {"/page", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\npage\n"},
  }));
  EXPECT_EQ(downloadPage(PageRequest::resultPage(server.url("/twice#beginPage=1"))).text, "page\r\n");
  EXPECT_EQ(requestLines(server),
            (std::vector<std::string>{"GET /twice#beginPage=1 HTTP/1.1", "GET /once#beginPage=2 HTTP/1.1",
                                      "GET /seven HTTP/1.1", "GET /eight?x=1 HTTP/1.1", "GET /page HTTP/1.1"}));
  for (const std::string& head : server.heads()) {
    EXPECT_NE(head.find("\r\nAccept: text/*\r\nUser-Agent: MFC\r\n"), std::string::npos) << head;
  }
}

TEST_F(PageRedirect, AWholeAddressFollowsRedirectsUnderTheApplicationName) {
  RawServer server(answering({
      {"/a", redirectAnswer(301, "Location: /b\r\n")},
      {"/b", redirectAnswer(302, "Location: /item.htm?id=1\r\n")},
      {"/item.htm?id=1", "HTTP/1.1 200 OK\r\nContent-Length: 25\r\n\r\n<div data-reviewApi=\"x\">\n"},
  }));
  const DownloadedPage page = downloadPage(PageRequest::wholeAddress(server.url("/a")));
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.text, "<div data-reviewApi=\"x\">\r\n");
  EXPECT_EQ(requestLines(server),
            (std::vector<std::string>{"GET /a HTTP/1.1", "GET /b HTTP/1.1", "GET /item.htm?id=1 HTTP/1.1"}));
  for (const std::string& head : server.heads()) {
    EXPECT_NE(head.find("\r\nUser-Agent: gleaner\r\n"), std::string::npos) << head;
  }
}

TEST_F(PageRedirect, ARedirectToAnotherSiteKeepsTheConnectToMapAndTheRealHost) {
  RawServer target(answerWith("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nok\n"));
  RawServer first(answerWith(redirectAnswer(302, "Location: http://other.site.example/offer/1.html\r\n")));
  InternetClient::setConnectTo(ConnectTo::parse("other.site.example:80:127.0.0.1:" + std::to_string(target.port())));
  EXPECT_EQ(downloadPage(PageRequest::resultPage(first.url("/go"))).text, "ok\r\n");
  ASSERT_EQ(target.heads().size(), 1u);
  EXPECT_EQ(target.heads()[0].rfind("GET /offer/1.html HTTP/1.1\r\nHost: other.site.example\r\n", 0), 0u)
      << target.heads()[0];
}

// A redirect to https (or any other scheme) or without a location fails the
// download with the redirect's own answer, without another connection. A
// whole address that once crossed from http to https fails for the same
// reason a result page does.
TEST_F(PageRedirect, ARedirectItCannotFollowFailsWithoutAnotherConnection) {
  RawServer server(answering({
      {"/secure", redirectAnswer(302, "Location: https://127.0.0.1:1/page\r\n")},
      {"/secure307", redirectAnswer(307, "Location: https://127.0.0.1:1/page\r\n")},
      {"/nowhere", redirectAnswer(302, "")},
      {"/empty", redirectAnswer(301, "Location: \r\n")},
      {"/ftp", redirectAnswer(303, "Location: ftp://127.0.0.1/page\r\n")},
  }));
  const std::map<std::string, std::string> reasons = {
      {"/secure", "not an http address: https://127.0.0.1:1/page"},
      {"/secure307", "not an http address: https://127.0.0.1:1/page"},
      {"/nowhere", server.url("/nowhere") + ": redirect without a location"},
      {"/empty", server.url("/empty") + ": redirect without a location"},
      {"/ftp", "not an http address: ftp://127.0.0.1/page"},
  };
  for (const auto& [path, reason] : reasons) {
    for (const PageRequest& request :
         {PageRequest::resultPage(server.url(path)), PageRequest::wholeAddress(server.url(path))}) {
      SCOPED_TRACE(path);
      const int before = server.connections();
      const auto failure = failureOf(request);
      ASSERT_TRUE(failure);
      EXPECT_EQ(failure->kind(), FailureKind::Redirect);
      EXPECT_EQ(failure->what(), reason);
      EXPECT_EQ(server.connections(), before + 1);
    }
  }
}

// "/hop/N" redirects to "/hop/N-1"; "/hop/0" is the page. Ten redirects are
// followed, the eleventh fails the download, and a loop ends there too.
TEST_F(PageRedirect, NoDownloadFollowsMoreThanTenRedirects) {
  ASSERT_EQ(kMaxRedirects, 10);
  RawServer server([](RawServer::Connection& connection) {
    const std::string target = targetOf(connection.readHead());
    if (target == "/hop/0") {
      connection.send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\npage\n");
    } else if (target.starts_with("/hop/")) {
      const int left = std::stoi(target.substr(5));
      connection.send(redirectAnswer(302, "Location: /hop/" + std::to_string(left - 1) + "\r\n"));
    } else {
      connection.send(redirectAnswer(302, "Location: " + target + "\r\n"));
    }
  });
  EXPECT_EQ(downloadPage(PageRequest::resultPage(server.url("/hop/10"))).text, "page\r\n");
  EXPECT_EQ(server.connections(), 11);

  for (const char* path : {"/hop/11", "/loop"}) {
    SCOPED_TRACE(path);
    const int before = server.connections();
    const auto failure = failureOf(PageRequest::wholeAddress(server.url(path)));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind(), FailureKind::Redirect);
    EXPECT_NE(std::string(failure->what()).find("more than 10 redirects"), std::string::npos) << failure->what();
    EXPECT_EQ(server.connections() - before, 1 + kMaxRedirects);
  }
}

}  // namespace
}  // namespace gleaner
