#include "cli/TestRuleCommand.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
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

// A saved page or rule file as a run would take it, read no further than one
// byte past the run's cap.
struct InputFile {
  enum class Fault { None, Unreadable, NotAFile, TooLarge };
  Fault fault = Fault::None;
  std::string bytes;
};

InputFile readInput(const std::string& utf8Path, std::size_t cap) {
  InputFile input;
  const std::filesystem::path path = pathFromUtf8(utf8Path);
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    input.fault = InputFile::Fault::NotAFile;  // a folder, a device or a pipe: nothing a run reads
    return input;
  }
  std::ifstream in(path, std::ios::binary);
  char buffer[64 * 1024];
  while (in && input.bytes.size() <= cap) {
    in.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, cap + 1 - input.bytes.size())));
    input.bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (!in.is_open() || in.bad()) {
    input.fault = InputFile::Fault::Unreadable;
  } else if (input.bytes.size() > cap) {
    input.fault = InputFile::Fault::TooLarge;
  }
  if (input.fault != InputFile::Fault::None) input.bytes.clear();
  return input;
}

// "16 MiB", "64 KiB".
std::string sizeText(std::size_t bytes) {
  return bytes % (1024 * 1024) == 0 ? std::to_string(bytes / (1024 * 1024)) + " MiB"
                                    : std::to_string(bytes / 1024) + " KiB";
}

// Tells why an input file cannot be used; what is "页面文件" or "规则文件".
void tellInputFault(const InputFile& input, const char* what, const std::string& path, std::size_t cap,
                    const char* atTheCap) {
  std::cerr << "gleaner-cli: " << what << " " << path;
  switch (input.fault) {
    case InputFile::Fault::NotAFile: std::cerr << " 是文件夹或设备，不是文件，无法读取。请给出一个文件。\n"; break;
    case InputFile::Fault::TooLarge: std::cerr << " 超过 " << sizeText(cap) << "，" << atTheCap << "\n"; break;
    default: std::cerr << " 无法读取：文件不存在或没有读取权限。\n"; break;
  }
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

// A rule's name, in the catalog or a server path.
bool isRuleName(const std::string& name) { return findRuleFile(name) != nullptr || serverPathOf(name).has_value(); }

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
  const std::filesystem::path file = pathFromUtf8(options.rule);
  const bool onDisk = std::filesystem::exists(file, error) &&
                      (std::filesystem::is_regular_file(file, error) || !isRuleName(options.rule));
  if (onDisk) {
    input.rule = findRuleFile(utf8Of(file.filename()));
    header.ruleName = input.rule != nullptr ? std::string(input.rule->name) : utf8Of(file.stem());
    header.ruleOrigin = "文件 " + options.rule;
    const InputFile rule = readInput(options.rule, RuleSource::kMaxRuleFileBytes);
    if (rule.fault != InputFile::Fault::None) {
      tellInputFault(rule, "规则文件", options.rule, RuleSource::kMaxRuleFileBytes,
                     "运行时会被当作损坏的规则拒绝。");
      exitStatus = kTrialCannotRead;
      return std::nullopt;
    }
    return pageTextOf(rule.bytes);
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
    const std::size_t cap = InternetClient::limits().maxBodyBytes;
    const InputFile page = readInput(*options.pageFile, cap);
    if (page.fault != InputFile::Fault::None) {
      tellInputFault(page, "页面文件", *options.pageFile, cap, "运行时这样的页面会下载失败。");
      return std::nullopt;
    }
    std::string text = pageTextOf(page.bytes);
    header.lineEndsAdded = text != page.bytes;
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
