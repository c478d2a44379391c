#include "extract/RuleSource.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "net/InternetError.h"
#include "support/LoopbackServer.h"

namespace gleaner {
namespace {

using testing::LoopbackServer;

void serveText(httplib::Server& s, const std::string& path, std::string body, int status = 200) {
  s.Get(path, [body, status](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_content(body, "text/plain");
  });
}

// Only a 200 answer is a rule file: a rule server's error page is no pattern
// (it would match nothing and hide the fault). An optional file may be
// missing, and only missing.
TEST(DownloadRuleFile, TakesOnlyA200AnswerAndA404OfAnOptionalFile) {
  LoopbackServer server([](httplib::Server& s) {
    serveText(s, "/files/ali/ExtractTextAImg.txt", "(a\nb)\n");
    serveText(s, "/empty", "");
    serveText(s, "/missing", "not here\n", 404);
    serveText(s, "/broken", "oops\n", 500);
  });
  EXPECT_EQ(downloadRuleFile(server.url("/files/ali/ExtractTextAImg.txt")), "(a\r\nb)\r\n");
  EXPECT_EQ(downloadRuleFile(server.url("/empty")), "");
  EXPECT_EQ(downloadRuleFile(server.url("/missing"), true), std::nullopt);
  for (const auto& [path, optional, status] : {std::tuple{"/missing", false, 404}, std::tuple{"/broken", true, 500}}) {
    SCOPED_TRACE(path);
    try {
      downloadRuleFile(server.url(path), optional);
      ADD_FAILURE() << "an error page was taken for a rule file";
    } catch (const InternetError& error) {
      EXPECT_EQ(error.kind(), FailureKind::Status);
      EXPECT_EQ(error.status(), status);
      EXPECT_EQ(error.what(), server.url(path) + ": no rule file there (status " + std::to_string(status) + ")");
    }
  }
}

TEST(RuleTextToPattern, RemovesEveryCrLfPairCharacterByCharacter) {
  EXPECT_EQ(ruleTextToPattern("\xD6\xD0\r\n(\\d+)\r\n\r\n"), "\xD6\xD0(\\d+)");
  // A lone CR or LF is part of the pattern.
  EXPECT_EQ(ruleTextToPattern("a\rb\nc\n\r"), "a\rb\nc\n\r");
  EXPECT_EQ(ruleTextToPattern(""), "");
}

}  // namespace
}  // namespace gleaner
