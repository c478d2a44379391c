// The user guide ships beside the programs and is what the help tab and the
// contact picture open; when it cannot be opened the user is told what to do.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/DefaultBrowser.h"
#include "app/HelpLocation.h"
#include "app/LinkPicture.h"
#include "app/PathText.h"
#include "app/TemplatePage.h"
#include "MainWindowFixture.h"
#include "res/ControlIds.h"

namespace gleaner::testing {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path programFolder() { return pathOf(wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath()); }

wxString wxOf(const fs::path& path) { return wxNameOf(path); }

// The file a file address names.
fs::path fileOf(const wxString& address) {
  return pathOf(wxFileName::URLToFileName(address.BeforeFirst('#')).GetFullPath());
}

// A folder of its own under the test's temporary directory, gone afterwards.
struct TempFolder {
  explicit TempFolder(const std::string& name) : path(pathFromUtf8(::testing::TempDir()) / pathFromUtf8(name)) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempFolder() { fs::remove_all(path); }
  void put(const fs::path& relative) const {
    fs::create_directories((path / relative).parent_path());
    std::ofstream(path / relative) << "<html></html>";
  }
  wxString wxPath() const { return wxOf(path); }
  fs::path path;
};

TEST(HelpGuide, IsBuiltBesideTheProgramsAndCoversWhatAUserMeets) {
  const fs::path built = programFolder() / "help" / "index.html";
  ASSERT_TRUE(fs::exists(built)) << built;
  const std::string guide = fileText(built);
  EXPECT_EQ(guide, fileText(fs::path(GLEANER_SOURCE_DIR) / "help" / "index.html")) << "the copy is the source's";
  for (const char* part : {"id=\"contact\"", "charset=\"utf-8\"", "阿里巴巴卖家及其商品采集", "淘宝单品买家采集",
                           "淘宝卖家信息采集", "暂停/继续", "停止", "导出列表", "GLEANER_RULE_SERVER",
                           "GLEANER_CONNECT_TO", "网站改版了，或者规则与页面不匹配", "已暂停，按暂停/继续键继续采集"}) {
    EXPECT_NE(guide.find(part), std::string::npos) << part;
  }
  // Every in-page link leads to a section that exists.
  std::size_t at = 0;
  while ((at = guide.find("href=\"#", at)) != std::string::npos) {
    at += 7;
    const std::string anchor = guide.substr(at, guide.find('"', at) - at);
    EXPECT_NE(guide.find("id=\"" + anchor + "\""), std::string::npos) << anchor;
  }
}

TEST(HelpGuide, IsFoundBesideTheProgramOrInTheInstalledLayout) {
  TempFolder beside("help beside 帮助 #1");
  beside.put("help/index.html");
  const std::optional<wxString> found = HelpLocation(beside.wxPath(), {}).helpAddress();
  ASSERT_TRUE(found.has_value());
  EXPECT_TRUE(found->StartsWith("file://")) << *found;
  EXPECT_EQ(fileOf(*found), beside.path / "help" / "index.html") << "spaces, Chinese and # survive: " << *found;

#ifndef __WXMSW__
  // The installed Linux layout (Windows keeps the guide beside the programs).
  TempFolder installed("installed");
  installed.put("share/gleaner/help/index.html");
  fs::create_directories(installed.path / "bin");
  const HelpLocation fromBin(wxOf(installed.path / "bin"), {});
  ASSERT_TRUE(fromBin.helpAddress().has_value());
  EXPECT_EQ(fs::canonical(fileOf(*fromBin.helpAddress())), fs::canonical(installed.path / "share/gleaner/help/index.html"));
  EXPECT_EQ(*fromBin.contactAddress(), *fromBin.helpAddress() + "#contact");
#endif

  TempFolder empty("no guide");
  EXPECT_FALSE(HelpLocation(empty.wxPath(), {}).helpAddress().has_value());
  EXPECT_FALSE(HelpLocation(empty.wxPath(), {}).contactAddress().has_value());
}

TEST(HelpGuide, AddressesNamedByTheBuildWin) {
  TempFolder beside("named");
  beside.put("help/index.html");
  const HelpLocation helpOnly(beside.wxPath(), {"https://vendor.example/guide.html", ""});
  EXPECT_EQ(*helpOnly.helpAddress(), "https://vendor.example/guide.html");
  EXPECT_EQ(*helpOnly.contactAddress(), "https://vendor.example/guide.html#contact");
  const HelpLocation both(beside.wxPath(), {"https://vendor.example/guide.html", "https://vendor.example/contact"});
  EXPECT_EQ(*both.contactAddress(), "https://vendor.example/contact");
}

#ifdef __WXMSW__
// The shell would open the guide without its section: the user's browser
// gets the whole address instead.
TEST(HelpGuide, TheContactSectionReachesTheBrowserOnWindows) {
  TempFolder beside("帮助 folder");
  beside.put("help/index.html");
  const wxString contact = *HelpLocation(beside.wxPath(), {}).contactAddress();
  ASSERT_TRUE(contact.EndsWith("#contact")) << contact;
  const std::optional<wxString> command = DefaultBrowser::sectionCommand(contact);
  ASSERT_TRUE(command.has_value()) << "no browser registered for http addresses";
  EXPECT_TRUE(command->Contains(contact)) << *command;
  EXPECT_FALSE(contact.Contains(" ") || contact.Contains("\"")) << "the address needs no quotes: " << contact;
  EXPECT_TRUE(command->Lower().Contains(".exe")) << *command;
  EXPECT_FALSE(command->Contains("%1")) << *command;
  EXPECT_FALSE(DefaultBrowser::sectionCommand(contact.BeforeFirst('#')).has_value()) << "the shell opens it";
  EXPECT_FALSE(DefaultBrowser::sectionCommand("https://vendor.example/guide.html#contact").has_value());
}
#endif

using Help = MainWindowFixture;

TEST_F(Help, TabButtonAndContactPictureOpenTheShippedGuide) {
  auto* button = controlOf<wxButton>(window->page(TabPage::Help), ids::kHelpButton);
  wxCommandEvent press(wxEVT_BUTTON, ids::kHelpButton);
  press.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(press);
  window->linkPicture().onClick();
  ASSERT_EQ(openedAddresses.size(), 2u);
  EXPECT_EQ(fileOf(openedAddresses[0]), programFolder() / "help" / "index.html");
  EXPECT_FALSE(openedAddresses[0].Contains("#"));
  EXPECT_EQ(openedAddresses[1], openedAddresses[0] + "#contact");
  EXPECT_TRUE(messages.empty());
}

TEST_F(Help, AMissingGuideOrBrowserIsToldInChineseWithTheDetailLast) {
  TempFolder empty("no guide here");
  window->setHelpLocation(HelpLocation(empty.wxPath(), {}));
  window->openHelpPage();
  EXPECT_TRUE(openedAddresses.empty());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].StartsWith(wx("找不到使用帮助文件"))) << messages[0];
#ifdef __WXMSW__
  EXPECT_TRUE(messages[0].EndsWith("\n" + wxOf(empty.path / "help" / "index.html"))) << messages[0];
#else
  EXPECT_TRUE(messages[0].EndsWith(wxOf(empty.path / "help" / "index.html") + "\n" +
                                   wxOf(empty.path.parent_path() / "share" / "gleaner" / "help" / "index.html")))
      << messages[0];
#endif

  messages.clear();
  window->setHelpLocation(HelpLocation::ofThisProgram());
  window->setAddressOpener([](const wxString&) { return false; });
  window->openContactPage();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].StartsWith(wx("无法打开浏览器"))) << messages[0];
  EXPECT_TRUE(messages[0].EndsWith("\n" + *HelpLocation::ofThisProgram().contactAddress())) << messages[0];
}

}  // namespace
}  // namespace gleaner::testing
