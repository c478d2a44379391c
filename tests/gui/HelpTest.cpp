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
#include "app/HelpOpener.h"
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
  const std::optional<PageAddress> found = HelpLocation(beside.wxPath(), {}).helpAddress();
  ASSERT_TRUE(found.has_value());
  const fs::path guide = beside.path / "help" / "index.html";
  EXPECT_EQ(found->shown, wxOf(guide)) << "the file as the user would type it";
  EXPECT_EQ(found->address, HelpLocation::fileAddress(wxFileName(wxOf(guide))));
  EXPECT_EQ(found->withoutSection, found->address);

#ifndef __WXMSW__
  // The installed Linux layout (Windows keeps the guide beside the programs).
  TempFolder installed("installed");
  installed.put("share/gleaner/help/index.html");
  fs::create_directories(installed.path / "bin");
  const HelpLocation fromBin(wxOf(installed.path / "bin"), {});
  ASSERT_TRUE(fromBin.helpAddress().has_value());
  EXPECT_EQ(fs::canonical(pathOf(fromBin.helpAddress()->shown)),
            fs::canonical(installed.path / "share/gleaner/help/index.html"));
  EXPECT_FALSE(fromBin.helpAddress()->shown.Contains("..")) << fromBin.helpAddress()->shown;
  EXPECT_EQ(fromBin.contactAddress()->address, fromBin.helpAddress()->address + "#contact");
  EXPECT_EQ(fromBin.contactAddress()->withoutSection, fromBin.helpAddress()->address);
#endif

  TempFolder empty("no guide");
  EXPECT_FALSE(HelpLocation(empty.wxPath(), {}).helpAddress().has_value());
  EXPECT_FALSE(HelpLocation(empty.wxPath(), {}).contactAddress().has_value());
}

// The browser gets a proper file address: UTF-8, percent-encoded, forward
// slashes, whatever the folder is called.
TEST(HelpGuide, FileAddressesArePercentEncodedUtf8) {
#ifdef __WXMSW__
  EXPECT_EQ(HelpLocation::fileAddress(wxFileName(wx("Z:\\采集 结果#1\\help\\index.html"))),
            "file:///Z:/%E9%87%87%E9%9B%86%20%E7%BB%93%E6%9E%9C%231/help/index.html");
  EXPECT_EQ(HelpLocation::fileAddress(wxFileName(wx("\\\\server\\share\\help\\index.html"))),
            "file://server/share/help/index.html");
#else
  EXPECT_EQ(HelpLocation::fileAddress(wxFileName(wx("/home/用户/采集 结果#1/help/index.html"))),
            "file:///home/%E7%94%A8%E6%88%B7/%E9%87%87%E9%9B%86%20%E7%BB%93%E6%9E%9C%231/help/index.html");
#endif
}

TEST(HelpGuide, AddressesNamedByTheBuildWin) {
  TempFolder beside("named");
  beside.put("help/index.html");
  const HelpLocation helpOnly(beside.wxPath(), {"https://vendor.example/guide.html", ""});
  EXPECT_EQ(helpOnly.helpAddress()->address, "https://vendor.example/guide.html");
  EXPECT_EQ(helpOnly.contactAddress()->address, "https://vendor.example/guide.html#contact");
  EXPECT_EQ(helpOnly.contactAddress()->withoutSection, "https://vendor.example/guide.html");
  EXPECT_EQ(helpOnly.contactAddress()->shown, "https://vendor.example/guide.html");
  const HelpLocation both(beside.wxPath(), {"https://vendor.example/guide.html", "https://vendor.example/contact"});
  EXPECT_EQ(both.contactAddress()->address, "https://vendor.example/contact");
}

#ifdef __WXMSW__
// The shell would open the guide without its section: the user's browser
// gets the whole address instead.
TEST(HelpGuide, TheContactSectionReachesTheBrowserOnWindows) {
  TempFolder beside("帮助 folder");
  beside.put("help/index.html");
  const wxString contact = HelpLocation(beside.wxPath(), {}).contactAddress()->address;
  ASSERT_TRUE(contact.EndsWith("#contact")) << contact;
  const std::optional<wxString> command = DefaultBrowser::sectionCommand(contact);
  ASSERT_TRUE(command.has_value()) << "no browser registered for http addresses";
  EXPECT_TRUE(command->Contains(contact)) << *command;
  EXPECT_TRUE(contact.StartsWith("file:///")) << contact;
  EXPECT_FALSE(contact.Contains(" ") || contact.Contains("\\") || contact.Contains(wx("帮助"))) << contact;
  EXPECT_TRUE(command->Lower().Contains(".exe")) << *command;
  EXPECT_FALSE(command->Contains("%1")) << *command;
  EXPECT_FALSE(DefaultBrowser::sectionCommand(contact.BeforeFirst('#')).has_value()) << "the shell opens it";
  EXPECT_FALSE(DefaultBrowser::sectionCommand("https://vendor.example/guide.html#contact").has_value());
}
#endif

// An opener that cannot take the section is asked for the page at its top;
// only when that fails too, also by the exit status of the program that
// opens it, is the user told, with the file as they would type it.
TEST(HelpGuide, AFailedOpenTriesThePageWithoutItsSectionThenTellsTheUser) {
  TempFolder beside("帮助 opener");
  beside.put("help/index.html");
  const HelpLocation location(beside.wxPath(), {});
  const PageAddress contact = *location.contactAddress();
  std::vector<wxString> told;
  std::vector<wxString> tried;
  HelpOpener opener(location, [&](const wxString& text) { told.push_back(text); });

  opener.setLauncher([&](const wxString& address, const std::function<void(bool)>& done) {
    tried.push_back(address);
    done(!address.Contains("#"));
  });
  opener.openContact();
  EXPECT_EQ(tried, (std::vector<wxString>{contact.address, contact.withoutSection}));
  EXPECT_TRUE(told.empty());

  // The program that opens it starts, then ends with a failure status.
  tried.clear();
  opener.setLauncher([&](const wxString& address, const std::function<void(bool)>& done) {
    tried.push_back(address);
#ifdef __WXMSW__
    DefaultBrowser::launch(wxString("cmd.exe /c exit 4"), done);
#else
    DefaultBrowser::launch(std::vector<wxString>{"sh", "-c", "exit 4"}, done);
#endif
  });
  opener.openContact();
  ASSERT_TRUE(pumpUntil([&] { return !told.empty(); }, 20000)) << "the failure is told";
  EXPECT_EQ(tried.size(), 2u);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(told[0].StartsWith(wx("无法打开浏览器"))) << told[0];
  EXPECT_TRUE(told[0].EndsWith("\n" + wxOf(beside.path / "help" / "index.html"))) << told[0];

  // A program that opens the page and ends well is no failure.
  told.clear();
  bool opened = false;
#ifdef __WXMSW__
  DefaultBrowser::launch(wxString("cmd.exe /c exit 0"), [&](bool ok) { opened = ok; });
#else
  DefaultBrowser::launch(std::vector<wxString>{"true"}, [&](bool ok) { opened = ok; });
#endif
  ASSERT_TRUE(pumpUntil([&] { return opened; }, 20000));
}

using Help = MainWindowFixture;

TEST_F(Help, TabButtonAndContactPictureOpenTheShippedGuide) {
  auto* button = controlOf<wxButton>(window->page(TabPage::Help), ids::kHelpButton);
  wxCommandEvent press(wxEVT_BUTTON, ids::kHelpButton);
  press.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(press);
  window->linkPicture().onClick();
  ASSERT_EQ(openedAddresses.size(), 2u);
  EXPECT_EQ(openedAddresses[0], HelpLocation::fileAddress(wxFileName(wxOf(programFolder() / "help" / "index.html"))));
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
  EXPECT_TRUE(messages[0].EndsWith("\n" + HelpLocation::ofThisProgram().contactAddress()->shown)) << messages[0];
  EXPECT_FALSE(messages[0].Contains("%")) << "no percent-encoded address";
}

}  // namespace
}  // namespace gleaner::testing
