// The manual page of gleaner-cli names the flags and exit statuses that
// gleaner-cli --help names, no more and no fewer: a flag or a status added
// to the program and not to the page (or the other way round) fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "CliProcess.h"

namespace gleaner::e2e {
namespace {

const std::filesystem::path kManPage = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
                                       "res" / "linux" / "man" / "gleaner-cli.1";

std::set<std::string> matches(const std::string& text, const std::regex& pattern, int group = 0) {
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
    found.insert((*it)[group].str());
  }
  return found;
}

// The flags a text names: --name in the help, \-\-name in the page.
std::set<std::string> flagsOfHelp(const std::string& help) { return matches(help, std::regex(R"(--[a-z][a-z-]*)")); }

std::set<std::string> flagsOfPage(std::string page) {
  page = std::regex_replace(page, std::regex(R"(\\-)"), "-");
  return matches(page, std::regex(R"(--[a-z][a-z-]*)"));
}

// The numbers of the sentence "Exit status: 0 done, 1 ..." of a help text.
std::set<std::string> statusesOfHelp(const std::string& help) {
  const std::size_t start = help.find("Exit status:");
  if (start == std::string::npos) return {};
  const std::size_t end = help.find(". ", start);
  return matches(help.substr(start, end - start), std::regex(R"((^|[\s,/])(\d+)(?=[\s/]))"), 2);
}

// The ".TP / .B N" entries of one section of the page.
std::set<std::string> statusesOfSection(const std::string& page, const std::string& title) {
  const std::size_t start = page.find(".SH \"" + title + "\"\n");
  if (start == std::string::npos) return {};
  const std::size_t end = page.find("\n.SH ", start + 1);
  return matches(page.substr(start, end - start), std::regex(R"(\.TP\n\.B (\d+)\n)"), 1);
}

std::string pageText() {
  std::ifstream in(kManPage);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ManPage, NamesTheFlagsAndExitStatusesOfTheHelp) {
  const std::string page = pageText();
  ASSERT_FALSE(page.empty()) << kManPage;
  const Finished help = runCli({"--help"}, {});
  ASSERT_EQ(help.status, 0) << help.err;
  const Finished ruleHelp = runCli({"test-rule", "--help"}, {});
  ASSERT_EQ(ruleHelp.status, 0) << ruleHelp.err;

  std::set<std::string> helpFlags = flagsOfHelp(help.out + help.err);
  const std::set<std::string> ruleFlags = flagsOfHelp(ruleHelp.out + ruleHelp.err);
  helpFlags.insert(ruleFlags.begin(), ruleFlags.end());
  EXPECT_GE(helpFlags.size(), 10u) << "the help names the flags";
  EXPECT_EQ(flagsOfPage(page), helpFlags);

  const std::set<std::string> runStatuses = statusesOfHelp(help.out + help.err);
  EXPECT_GE(runStatuses.size(), 3u);
  EXPECT_EQ(statusesOfSection(page, "EXIT STATUS"), runStatuses);
  const std::set<std::string> ruleStatuses = statusesOfHelp(ruleHelp.out + ruleHelp.err);
  EXPECT_GE(ruleStatuses.size(), 3u);
  EXPECT_EQ(statusesOfSection(page, "EXIT STATUS OF TEST-RULE"), ruleStatuses);

  // The subcommands too: each usage line's, and each of the page's COMMANDS.
  const std::set<std::string> commands =
      matches(help.out + help.err, std::regex(R"(gleaner-cli ([a-z][a-z-]*)\s)"), 1);
  const std::size_t start = page.find(".SH COMMANDS\n");
  const std::string section = page.substr(start, page.find("\n.SH ", start + 1) - start);
  EXPECT_EQ(matches(section, std::regex(R"(\.TP\n\.B ([a-z-]+)\n)"), 1), commands);
}

}  // namespace
}  // namespace gleaner::e2e
