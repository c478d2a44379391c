#include "cli/TestRuleCommand.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include "cli/CliOptions.h"
#include "cli/FlagReader.h"
#include "cli/RuleTrial.h"
#include "cli/RuleTrialReport.h"
#include "extract/PatternScan.h"
#include "extract/RuleSource.h"
#include "net/InternetClient.h"
#include "net/PageDownload.h"
#include "rules/BuiltinRuleServer.h"
#include "rules/RuleServerChoice.h"
#include "text/GbkText.h"
#include "text/PathText.h"

namespace gleaner::cli {

const char* const kTestRuleUsage =
    "usage: gleaner-cli test-rule --rule FILE|NAME [--page FILE | --url URL] [--cleaned]\n"
    "  --rule FILE|NAME  a rule file on disk, or the name of one on the rule server\n"
    "                    (ExtractTextAImg, ExtractTextAImg.txt or ali/ExtractTextAImg.txt)\n"
    "  --page FILE       a saved page, read as GBK bytes\n"
    "  --url URL         a page downloaded as a run downloads it\n"
    "  --cleaned         also show each capture group after trimming and cleaning\n"
    "Prints every record: its byte range, its capture groups, the record and the row\n"
    "the job builds from it. Exit status: 0 records found, 1 the rule or a page could\n"
    "not be read, 2 bad usage, 3 no record found, 4 the rule does not compile,\n"
    "5 it matches the empty text, 6 a search ran past its budget.\n";

namespace {

struct TestRuleOptions {
  std::string rule;
  std::optional<std::string> pageFile;
  std::optional<std::string> url;
  bool cleaned = false;
  bool help = false;
};

TestRuleOptions parse(const std::vector<std::string>& args) {
  TestRuleOptions options;
  FlagReader flags(args);
  while (flags.next()) {
    const std::string& flag = flags.flag();
    if (flag == "--help" || flag == "-h") options.help = true;
    else if (flag == "--rule") options.rule = flags.value();
    else if (flag == "--page") options.pageFile = flags.value();
    else if (flag == "--url") options.url = flags.value();
    else if (flag == "--cleaned" && !flags.hasInlineValue()) options.cleaned = true;
    else throw UsageError("unknown option: " + flags.argument());
  }
  if (options.help) return options;
  if (options.rule.empty()) throw UsageError("--rule is required");
  if (options.pageFile.has_value() == options.url.has_value()) throw UsageError("give either --page or --url");
  return options;
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

// A rule server path for a name outside the catalog: "taobao/NAME.txt" or
// "/files/ali/NAME.txt".
std::optional<std::string> serverPathOf(std::string name) {
  if (name.rfind("/files/", 0) == 0) name.erase(0, 7);
  for (const char* folder : {"taobao/", "ali/"}) {
    if (name.rfind(folder, 0) == 0 && name.size() > std::string(folder).size() &&
        name.find('/', std::string(folder).size()) == std::string::npos) {
      return "/files/" + name;
    }
  }
  return std::nullopt;
}

std::string knownNames() {
  std::string names;
  for (const RuleFile* rule : ruleFiles()) names += (names.empty() ? "" : ", ") + std::string(rule->name);
  return names;
}

// The rule's text as a run gets it; nothing when it cannot be had (told on
// err, with exitStatus set).
std::optional<std::string> loadRule(const TestRuleOptions& options, const Sites& sites, RuleTrialInput& input,
                                    TrialHeader& header, int& exitStatus) {
  std::error_code error;
  if (std::filesystem::is_regular_file(options.rule, error)) {
    const std::filesystem::path file(options.rule);
    input.rule = findRuleFile(file.filename().string());
    header.ruleName = input.rule != nullptr ? std::string(input.rule->name) : file.stem().string();
    header.ruleOrigin = "文件 " + options.rule;
    const auto bytes = readFile(options.rule);
    if (!bytes) {
      std::cerr << "gleaner-cli: 无法读取规则文件 " << options.rule << "。\n";
      exitStatus = kTrialCannotRead;
      return std::nullopt;
    }
    if (bytes->size() > RuleSource::kMaxRuleFileBytes) {
      std::cerr << "gleaner-cli: 规则文件 " << options.rule << " 超过 64 KiB，运行时会被当作损坏的规则拒绝。\n";
      exitStatus = kTrialDoesNotCompile;
      return std::nullopt;
    }
    return pageTextOf(*bytes);
  }
  input.rule = findRuleFile(options.rule);
  const std::optional<std::string> path = input.rule != nullptr ? std::string(input.rule->path) : serverPathOf(options.rule);
  if (!path) {
    std::cerr << "gleaner-cli: 没有这个规则文件，也不是已知的规则名：" << options.rule << "\n已知的规则：" << knownNames()
              << "\n";
    exitStatus = kTrialUsage;
    return std::nullopt;
  }
  header.ruleName = input.rule != nullptr ? std::string(input.rule->name) : options.rule;
  header.ruleOrigin = "规则服务器 " + sites.ruleServer + " " + *path;
  const std::string address = sites.ruleAddress(*path);
  try {
    return downloadRuleFile(address);
  } catch (const std::exception& e) {
    std::cerr << "gleaner-cli: 无法从规则服务器取得规则 " << header.ruleName
              << "：请检查规则服务器（GLEANER_RULE_SERVER）和规则名。\n(" << gbk::printable(e.what()) << ")\n";
    exitStatus = kTrialCannotRead;
    return std::nullopt;
  }
}

// The page as a run reads it: a result page through the run's page fetcher
// (its headers, status 200 only), an offer or rating page as the extractors
// download them.
std::optional<std::string> loadPage(const TestRuleOptions& options, const RuleTrialInput& input, TrialHeader& header) {
  if (options.pageFile) {
    header.pageOrigin = *options.pageFile;
    const auto bytes = readFile(*options.pageFile);
    if (!bytes) {
      std::cerr << "gleaner-cli: 无法读取页面文件 " << *options.pageFile << "。\n";
      return std::nullopt;
    }
    std::string text = pageTextOf(*bytes);
    header.lineEndsAdded = text != *bytes;
    return text;
  }
  header.pageOrigin = gbk::printable(*options.url);
  const bool secondary = input.rule != nullptr && (input.rule->page == RulePage::OfferDetail ||
                                                   input.rule->page == RulePage::SellerRating);
  try {
    return downloadPage(secondary ? PageRequest::wholeAddress(*options.url) : PageRequest::resultPage(*options.url)).text;
  } catch (const std::exception& e) {
    std::cerr << "gleaner-cli: 无法下载页面 " << gbk::printable(*options.url) << "：请检查网址和网络。\n("
              << gbk::printable(e.what()) << ")\n";
    return std::nullopt;
  }
}

bool foundSomething(const RuleTrialInput& input, const RuleTrialResult& result) {
  if (input.rule != nullptr && input.rule->role == RuleRole::EmptyMarker) return !result.matches.empty();
  for (const TrialMatch& match : result.matches) {
    if (!match.record.empty()) return true;
  }
  return false;
}

}  // namespace

int runTestRuleCommand(const std::vector<std::string>& args) {
  TestRuleOptions options;
  try {
    options = parse(args);
  } catch (const UsageError& error) {
    std::cerr << "gleaner-cli: " << error.what() << "\n\n" << kTestRuleUsage;
    return kTrialUsage;
  }
  if (options.help) {
    std::cout << kTestRuleUsage;
    return kTrialFound;
  }
  InternetClient::initialize();
  BuiltinRuleServer builtInRules;
  RuleTrialInput input;
  TrialHeader header;
  try {
    input.sites.ruleServer = chooseRuleServer(builtInRules);
  } catch (const std::exception& e) {
    std::cerr << "gleaner-cli: " << e.what() << '\n';
    return kTrialUsage;
  }
  int status = kTrialFound;
  const auto ruleText = loadRule(options, input.sites, input, header, status);
  if (!ruleText) return status;
  input.ruleText = *ruleText;
  // A rule that does not compile needs no page to say so.
  try {
    InspectPattern(ruleTextToPattern(input.ruleText));
  } catch (const PatternError& e) {
    if (e.kind() != PatternError::Kind::Runaway) {
      printCompileFailure(std::cerr, header, input, e);
      return kTrialDoesNotCompile;
    }
  }
  const auto page = loadPage(options, input, header);
  if (!page) return kTrialCannotRead;
  input.page = *page;

  const RuleTrialResult result = tryRule(input);
  if (result.failure && result.failure->kind() != PatternError::Kind::Runaway) {
    printCompileFailure(std::cerr, header, input, *result.failure);
    return kTrialDoesNotCompile;
  }
  printTrial(std::cout, header, input, result, options.cleaned);
  std::cout.flush();
  if (result.failure) {
    printRunaway(std::cerr, header, result);
    return kTrialRunaway;
  }
  if (result.matchesEmptyText) {
    printEmptyMatch(std::cerr, header, result);
    return kTrialMatchesEmpty;
  }
  if (!result.rowReports.empty()) {
    std::cerr << "gleaner-cli: 构造行时有页面或规则无法使用（见上），这些记录在运行时会让这一页失败。\n";
    return kTrialCannotRead;
  }
  if (!foundSomething(input, result)) {
    printNothingFound(std::cerr, header, input);
    return kTrialNothingFound;
  }
  return kTrialFound;
}

}  // namespace gleaner::cli
