// The command-line examples of README.md and rules/README.md, run again
// against the sample site: what they show is what the programs print. In a
// shown output "[…]" stands for lines left out; the rule server's port may
// differ.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "CliFixture.h"

namespace gleaner::e2e {
namespace {

const std::filesystem::path kSource = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();

struct Example {
  std::string command;
  std::vector<std::string> shown;
};

// Every "    $ command" of a file's indented code blocks, with the lines after it.
std::vector<Example> examplesOf(const std::filesystem::path& markdown) {
  std::ifstream in(markdown);
  std::vector<Example> examples;
  bool inExample = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("    $ ", 0) == 0) {
      examples.push_back({line.substr(6), {}});
      inExample = true;
    } else if (inExample && (line.empty() || line.rfind("    ", 0) == 0)) {
      examples.back().shown.push_back(line.empty() ? line : line.substr(4));
    } else {
      inExample = false;
    }
  }
  for (Example& example : examples) {
    while (!example.shown.empty() && example.shown.back().empty()) example.shown.pop_back();
  }
  return examples;
}

std::vector<std::string> words(const std::string& command) {
  std::vector<std::string> result;
  std::string word;
  bool quoted = false;
  bool any = false;
  for (const char c : command) {
    if (c == '\'') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) result.push_back(word);
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) result.push_back(word);
  return result;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(std::regex_replace(line, std::regex(R"(127\.0\.0\.1:\d+)"), "127.0.0.1:PORT"));
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

class DocExamples : public CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    dir = std::filesystem::path(::testing::TempDir()) / "doc-examples";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(previous);
    CliFixture::TearDown();
  }

  // Runs every example of the file in order; "cat FILE" shows a file an
  // earlier example wrote, or gives the file the example's text.
  void check(const std::filesystem::path& markdown) {
    const std::vector<Example> examples = examplesOf(markdown);
    ASSERT_FALSE(examples.empty()) << markdown;
    for (const Example& example : examples) {
      SCOPED_TRACE(example.command);
      std::vector<std::string> args = words(example.command);
      std::string actual;
      if (args[0] == "cat") {
        if (!std::filesystem::exists(args[1])) {
          std::ofstream(args[1], std::ios::binary) << [&] {
            std::string text;
            for (const auto& line : example.shown) text += line + "\n";
            return text;
          }();
        }
        actual = readFile(args[1]);
      } else {
        ASSERT_TRUE(args[0] == "gleaner-cli" || args[0] == "build/gleaner-cli") << args[0];
        args.erase(args.begin());
        bool toFile = false;
        if (args.size() >= 2 && args[args.size() - 2] == ">") {
          args.resize(args.size() - 2);
          toFile = true;
        }
        const Finished run = runCli(args, env());
        actual = (toFile ? std::string() : run.out) + run.err;
      }
      const std::vector<std::string> lines = linesOf(actual);
      std::vector<std::string> shown;
      bool cut = false;
      for (const std::string& line : example.shown) {
        if (line.find("[…]") != std::string::npos) {
          cut = true;
        } else {
          shown.push_back(linesOf(line + "\n").empty() ? std::string() : linesOf(line + "\n").front());
        }
      }
      if (!cut) {
        EXPECT_EQ(shown, lines);
        continue;
      }
      std::size_t at = 0;
      for (const std::string& line : shown) {
        while (at < lines.size() && lines[at] != line) ++at;
        EXPECT_LT(at, lines.size()) << "not in the output, or out of order: " << line << "\n" << actual;
        ++at;
      }
    }
  }

  std::filesystem::path dir;
  std::filesystem::path previous;
};

TEST_F(DocExamples, TheReadmesCommandLineExamplesAreWhatTheProgramsPrint) { check(kSource / "README.md"); }

TEST_F(DocExamples, TheRuleGuidesExamplesAreWhatTestRulePrints) { check(kSource / "rules" / "README.md"); }

}  // namespace
}  // namespace gleaner::e2e
