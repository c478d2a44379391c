// What the user is told when the program cannot open its window: which
// setting is wrong and how to put it right, the library's words last.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/StartupCheck.h"
#include "extract/Sites.h"
#include "net/InternetError.h"
#include "GuiTestSupport.h"
#include "rules/BuiltinRuleServer.h"
#include "support/ChildProcess.h"

namespace gleaner::testing {
namespace {

// Sets (or, with nullptr, removes) an environment variable for one scope.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setEnvironment(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
  }
  ~ScopedVariable() { setEnvironment(name_, old_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

wxString lastLine(const wxString& text) { return text.AfterLast('\n'); }

TEST(StartupCheck, AMalformedRuleServerSettingIsNamedWithItsRemedy) {
  ScopedVariable setting("GLEANER_RULE_SERVER", "rules server:80");
  BuiltinRuleServer builtIn;
  Sites sites;
  const std::optional<wxString> problem = StartupCheck::chooseRuleServer(builtIn, sites);
  ASSERT_TRUE(problem.has_value());
  EXPECT_TRUE(problem->StartsWith(wx("环境变量 GLEANER_RULE_SERVER 的格式不对"))) << *problem;
  EXPECT_TRUE(problem->Contains(wx("删除这个环境变量"))) << *problem;
  EXPECT_TRUE(lastLine(*problem).Contains("rules server:80")) << "the library's words last: " << *problem;
  EXPECT_FALSE(builtIn.running());
}

TEST(StartupCheck, AnInternetSetUpFailureNamesAMalformedConnectToList) {
  EXPECT_FALSE(StartupCheck::internetProblem(nullptr).has_value());
  {
    const std::optional<wxString> problem =
        StartupCheck::internetProblem(std::make_exception_ptr(ConnectToError("GLEANER_CONNECT_TO: entry is bad")));
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->StartsWith(wx("环境变量 GLEANER_CONNECT_TO 的格式不对"))) << *problem;
    EXPECT_EQ(lastLine(*problem), "GLEANER_CONNECT_TO: entry is bad");
  }
  const std::optional<wxString> problem =
      StartupCheck::internetProblem(std::make_exception_ptr(InternetError("cannot set up libcurl: out of memory")));
  ASSERT_TRUE(problem.has_value());
  EXPECT_TRUE(problem->StartsWith(wx("网络组件无法启动"))) << *problem;
  EXPECT_EQ(lastLine(*problem), "cannot set up libcurl: out of memory");
}

}  // namespace
}  // namespace gleaner::testing
