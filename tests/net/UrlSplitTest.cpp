#include "net/UrlSplit.h"

#include <gtest/gtest.h>

#include "net/ConnectTo.h"
#include "net/RedirectLocation.h"
#include "net/InternetError.h"

namespace gleaner {
namespace {

TEST(UrlSplit, KeepsQueryAndFragmentInTheObjectAndDefaultsThePort) {
  const auto url = UrlSplit::split("http://s.1688.com/selloffer/offer_search.htm?keywords=%BA%CB&beginPage=3#beginPage=3");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->serviceType(), ServiceType::Http);
  EXPECT_EQ(url->server(), "s.1688.com");
  EXPECT_EQ(url->port(), 80);
  EXPECT_EQ(url->object(), "/selloffer/offer_search.htm?keywords=%BA%CB&beginPage=3#beginPage=3");
}

TEST(UrlSplit, ReadsPortSchemeCaseUserAndBareServers) {
  auto url = UrlSplit::split("HTTP://user:pw@127.0.0.1:8080?a=1");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->serviceType(), ServiceType::Http);
  EXPECT_EQ(url->scheme(), "http");
  EXPECT_EQ(url->server(), "127.0.0.1");
  EXPECT_EQ(url->port(), 8080);
  EXPECT_EQ(url->object(), "/?a=1");

  url = UrlSplit::split("https://[::1]/x");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->serviceType(), ServiceType::Https);
  EXPECT_EQ(url->server(), "[::1]");
  EXPECT_EQ(url->port(), 443);

  url = UrlSplit::split("http://host");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->object(), "/");

  url = UrlSplit::split("ftp://host/file");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->serviceType(), ServiceType::Other);
}

TEST(UrlSplit, RefusesWhatCannotBeSplitOrSentAsItStands) {
  for (const char* address : {"", "host/page", "http://", "http:///path", "http://:80/", "http://host:0/",
                              "http://host:65536/", "http://host:8o/", "http://ho st/", "http://host/a b",
                              "http://host/a\r\nX-Injected: 1", "http://[::1/", "://host/", "1http://host/",
                              "http://ho\xD6\xD0st/"}) {
    EXPECT_FALSE(UrlSplit::split(address)) << address;
  }
  const std::string longest = "http://h/" + std::string(UrlSplit::kMaxLength - 9, 'x');
  EXPECT_TRUE(UrlSplit::split(longest));
  EXPECT_FALSE(UrlSplit::split(longest + "x"));
}

TEST(ConnectTo, ParsesAListAndSkipsBlankEntries) {
  const ConnectTo map = ConnectTo::parse(" s.1688.com:80:127.0.0.1:8080, ,rate.taobao.com::localhost:,[::1]:80:[::1]:81,");
  EXPECT_EQ(map.entries(), (std::vector<std::string>{"s.1688.com:80:127.0.0.1:8080", "rate.taobao.com::localhost:",
                                                     "[::1]:80:[::1]:81"}));
  EXPECT_TRUE(ConnectTo::parse("").empty());
}

TEST(ConnectTo, NamesTheMalformedEntry) {
  for (const char* list : {"a:80:b", "a:80:b:81:c", "a:http:b:81", "a:80:b:99999", "a b:80:c:81"}) {
    try {
      ConnectTo::parse(std::string("ok:80:ok:81,") + list);
      ADD_FAILURE() << list;
    } catch (const InternetError& error) {
      EXPECT_NE(std::string(error.what()).find(list), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace gleaner

namespace gleaner {
namespace {

TEST(RedirectLocation, FindsTheLocationHeaderLineInAnyCaseOnly) {
  EXPECT_EQ(locationHeader("HTTP/1.1 302 Found\r\nContent-Location: /a\r\nlocation:  /b \r\n\r\n"), "/b");
  EXPECT_EQ(locationHeader("HTTP/1.1 302 Found\nLOCATION:http://x/y\n"), "http://x/y");
  EXPECT_EQ(locationHeader("HTTP/1.1 302 Location: /no\r\nX-Location: /no\r\n\r\n"), std::nullopt);
  EXPECT_EQ(locationHeader("HTTP/1.1 302 Found\r\nLocation:\r\n\r\n"), std::nullopt);
}

TEST(RedirectLocation, ResolvesReferencesAgainstTheAddressTheyCameFrom) {
  const std::string base = "http://s.example:8080/dir/page.htm?q=1#beginPage=1";
  EXPECT_EQ(resolveReference(base, "https://other/x"), "https://other/x");
  EXPECT_EQ(resolveReference(base, "//other/x"), "http://other/x");
  EXPECT_EQ(resolveReference(base, "/x?y#z"), "http://s.example:8080/x?y#z");
  EXPECT_EQ(resolveReference(base, "next.htm"), "http://s.example:8080/dir/next.htm");
  EXPECT_EQ(resolveReference(base, "?q=2"), "http://s.example:8080/dir/page.htm?q=2");
  EXPECT_EQ(resolveReference("http://s.example", "x"), "http://s.example/x");
}

// The wire tests show the http side; an https download keeps to https the
// same way.
TEST(RedirectLocation, OnlyRedirectStatusesAreFollowedAndOnlyWithinTheirScheme) {
  const std::string head = "HTTP/1.1 302 Found\r\nLocation: next.htm\r\n\r\n";
  for (const int status : {200, 304, 404, 500}) {
    EXPECT_EQ(judgeRedirect("http://s.example/dir/page.htm", status, head).kind, RedirectStep::Kind::NotARedirect)
        << status;
  }
  for (const int status : {301, 302, 303, 307, 308}) {
    const RedirectStep step = judgeRedirect("http://s.example/dir/page.htm", status, head);
    EXPECT_EQ(step.kind, RedirectStep::Kind::Follow) << status;
    EXPECT_EQ(step.next, "http://s.example/dir/next.htm");
  }
  const RedirectStep secure = judgeRedirect("https://s.example/a", 301, "HTTP/1.1 301 x\r\nLocation: /b\r\n\r\n");
  EXPECT_EQ(secure.kind, RedirectStep::Kind::Follow);
  EXPECT_EQ(secure.next, "https://s.example/b");
  const RedirectStep down =
      judgeRedirect("https://s.example/a", 302, "HTTP/1.1 302 x\r\nLocation: http://s.example/b\r\n\r\n");
  EXPECT_EQ(down.kind, RedirectStep::Kind::Fail);
  EXPECT_EQ(down.reason, "not an https address: http://s.example/b");
}

}  // namespace
}  // namespace gleaner
