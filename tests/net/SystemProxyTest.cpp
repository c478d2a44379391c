// The system's proxy setting as "preconfigured" access hands it to libcurl:
// the syntax of the setting, the bypass list, and on Windows the current
// user's setting as Internet Options stores it.
#include <gtest/gtest.h>

#include "net/SystemProxy.h"

#ifdef _WIN32
#include <vector>

// Winsock (in these) before windows.h.
#include "net/RawServer.h"
#include "support/LoopbackServer.h"

#include <windows.h>

#include "net/NetTest.h"
#include "net/PageDownload.h"
#endif

namespace gleaner {
namespace {

TEST(SystemProxy, OneServerServesEverySchemeExceptTheBypassedHosts) {
  const SystemProxy proxy("proxy.corp:8080", "*.corp.example; 10.1.*,<local>");
  EXPECT_EQ(proxy.proxyFor("http", "s.1688.com"), "http://proxy.corp:8080");
  EXPECT_EQ(proxy.proxyFor("https", "item.taobao.com"), "http://proxy.corp:8080");
  EXPECT_EQ(proxy.proxyFor("http", "rules.corp.example"), "");
  EXPECT_EQ(proxy.proxyFor("http", "RULES.Corp.Example"), "");
  EXPECT_EQ(proxy.proxyFor("http", "corp.example"), "http://proxy.corp:8080") << "*. needs a name before it";
  EXPECT_EQ(proxy.proxyFor("http", "10.1.2.3"), "");
  EXPECT_EQ(proxy.proxyFor("http", "10.12.2.3"), "http://proxy.corp:8080");
  EXPECT_EQ(proxy.proxyFor("http", "intranet"), "") << "<local>: a name without a dot";
  // Loopback never goes through a proxy: the built-in rule server is there.
  EXPECT_EQ(proxy.proxyFor("http", "127.0.0.1"), "");
  EXPECT_EQ(proxy.proxyFor("http", "localhost"), "");
  EXPECT_EQ(proxy.proxyFor("http", "[::1]"), "");
}

TEST(SystemProxy, ServersPerSchemeWithSocksForTheRest) {
  const SystemProxy perScheme("http=web:3128;https=secure:3129;socks=sock:1080", "");
  EXPECT_EQ(perScheme.proxyFor("http", "s.1688.com"), "http://web:3128");
  EXPECT_EQ(perScheme.proxyFor("HTTPS", "s.1688.com"), "http://secure:3129");
  EXPECT_EQ(perScheme.proxyFor("ftp", "s.1688.com"), "socks4://sock:1080");

  const SystemProxy httpsOnly("https=secure:3129", "");
  EXPECT_EQ(httpsOnly.proxyFor("http", "s.1688.com"), "") << "no server for http: direct";

  const SystemProxy withSchemes("http=http://web:3128", "http://*.Example.COM");
  EXPECT_EQ(withSchemes.proxyFor("http", "s.1688.com"), "http://web:3128");
  EXPECT_EQ(withSchemes.proxyFor("http", "www.example.com"), "");
}

#ifdef _WIN32

// The current user's connection settings, replaced for one test and put back
// afterwards: the binary record that Internet Options writes and WinHTTP reads.
class InternetOptionsProxy {
 public:
  InternetOptionsProxy(const std::string& proxies, const std::string& bypass) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
    DWORD size = 0;
    if (RegQueryValueExW(key_, kValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
      saved_.resize(size);
      RegQueryValueExW(key_, kValue, nullptr, nullptr, saved_.data(), &size);
      hadValue_ = true;
    }
    std::vector<unsigned char> record;
    const auto word = [&](DWORD value) {
      const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
      record.insert(record.end(), bytes, bytes + sizeof value);
    };
    const auto text = [&](const std::string& value) {
      word(static_cast<DWORD>(value.size()));
      record.insert(record.end(), value.begin(), value.end());
    };
    word(0x46);   // the record's version
    word(1);      // change counter
    word(0x3);    // direct, with a proxy server
    text(proxies);
    text(bypass);
    text("");     // no setup script
    for (int i = 0; i < 8; ++i) word(0);
    RegSetValueExW(key_, kValue, 0, REG_BINARY, record.data(), static_cast<DWORD>(record.size()));
  }
  ~InternetOptionsProxy() {
    if (hadValue_) {
      RegSetValueExW(key_, kValue, 0, REG_BINARY, saved_.data(), static_cast<DWORD>(saved_.size()));
    } else {
      RegDeleteValueW(key_, kValue);
    }
    RegCloseKey(key_);
  }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
  static constexpr const wchar_t* kValue = L"DefaultConnectionSettings";
  HKEY key_ = nullptr;
  bool hadValue_ = false;
  std::vector<unsigned char> saved_;
};

class SystemProxyOfThisUser : public testing::NetTest {};

TEST_F(SystemProxyOfThisUser, AWholeAddressGoesThroughItAndAResultPageDoesNot) {
  testing::RawServer proxy(testing::answerWith("HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\nproxied\n"));
  testing::LoopbackServer server([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("direct\n", "text/plain"); });
  });
  const InternetOptionsProxy setting(proxy.hostPort(), "*.near.example");
  const auto current = SystemProxy::current();
  ASSERT_TRUE(current.has_value()) << "the setting is read back";
  EXPECT_EQ(current->proxyFor("http", "far.away.example"), "http://" + proxy.hostPort());
  EXPECT_EQ(current->proxyFor("http", "www.near.example"), "");

  EXPECT_EQ(downloadPage(PageRequest::wholeAddress("http://far.away.example/page?q=1")).text, "proxied\r\n");
  // Loopback (the built-in rule server) and direct downloads stay direct.
  EXPECT_EQ(downloadPage(PageRequest::wholeAddress(server.url("/"))).text, "direct\r\n");
  EXPECT_EQ(downloadPage(PageRequest::resultPage(server.url("/"))).text, "direct\r\n");

  ASSERT_EQ(proxy.heads().size(), 1u);
  EXPECT_EQ(proxy.heads()[0].rfind("GET http://far.away.example/page?q=1 HTTP/1.1\r\n", 0), 0u) << proxy.heads()[0];
}

#endif

}  // namespace
}  // namespace gleaner
