// gleaner-cli: runs one job with the engine, the extractors and the rule
// files of the desktop program, with the window kept in memory.
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/ConsoleSetup.h"
#include "cli/ExportCommand.h"
#include "cli/InterruptSignals.h"
#include "cli/JsonSummary.h"
#include "cli/RowWriter.h"
#include "cli/StoreSink.h"
#include "cli/TestRuleCommand.h"
#include "engine/MainThread.h"
#include "engine/MemoryWindow.h"
#include "engine/RunController.h"
#include "net/InternetClient.h"
#include "rules/BuiltinRuleServer.h"
#include "rules/RuleServerChoice.h"
#include "text/GbkConvert.h"
#include "text/GbkText.h"
#include "text/Literals.h"
#include "text/PathText.h"

namespace gleaner::cli {
namespace {

using namespace std::chrono_literals;

constexpr int kExitDone = 0;
constexpr int kExitNoPage = 1;
constexpr int kExitRefused = 2;
constexpr int kExitNothingExtracted = 3;

// After the first stop request the record in hand may finish its downloads
// for this long; then every transfer is aborted, and the runner ends after
// kStopLimit at the latest, whatever still runs.
constexpr auto kStopGrace = 2s;
constexpr auto kStopLimit = 4s;
// After a second request ("now"): transfers are aborted at once.
constexpr auto kNowLimit = 1s;

// A status line of the engine, GBK with CR LF line ends, as UTF-8 lines. Its
// control characters are replaced: text of pages and rule files must not
// drive the terminal.
void printStatus(const std::string& gbkText) {
  const std::string text = gbk::toUtf8(gbk::printable(gbkText));
  std::string line;
  for (const char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      std::cerr << line << '\n';
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) std::cerr << line << '\n';
  std::cerr.flush();
}

void applyToPage(const CliOptions& options, MemoryWindow& window) {
  auto gbkOf = [](const std::string& utf8) { return gbk::fromUtf8(utf8); };
  window.selectTab(static_cast<int>(options.job));
  switch (options.job) {
    case CollectionMode::OfferSearch:
      if (options.keyword) window.setControlText(TabPage::Search, ids::kSearchKeyword, gbkOf(*options.keyword));
      if (options.pages) window.setControlText(TabPage::Search, ids::kSearchPages, gbkOf(*options.pages));
      window.checkSortRadio(sortRadioId(options.sort));
      if (options.buyerProtection) window.setCheckState(TabPage::Search, ids::kFilterBuyerProtection, CheckState::Checked);
      if (options.alipay) window.setCheckState(TabPage::Search, ids::kFilterAlipay, CheckState::Checked);
      if (options.online) window.setCheckState(TabPage::Search, ids::kFilterOnline, CheckState::Checked);
      break;
    case CollectionMode::ItemBuyers:
      if (options.itemUrl) window.setControlText(TabPage::ItemUrl, ids::kItemAddress, gbkOf(*options.itemUrl));
      break;
    case CollectionMode::SellerSearch:
      if (options.keyword) window.setControlText(TabPage::SellerSearch, ids::kSellerKeyword, gbkOf(*options.keyword));
      if (options.pages) window.setControlText(TabPage::SellerSearch, ids::kSellerPages, gbkOf(*options.pages));
      if (options.level) window.setControlText(TabPage::SellerSearch, ids::kSellerLevel, gbkOf(*options.level));
      break;
    case CollectionMode::None:
      break;
  }
}

// Runs the job until every thread of the run has ended. The first stop
// request is the stop button; if the record in hand is still downloading
// after a grace period, its transfers are aborted. A second request aborts
// them at once. False when threads still ran at the limit: the process must
// then end without waiting for them.
bool runToTheEnd(RunController& controller) {
  controller.collect();
  std::chrono::steady_clock::time_point stoppedAt;
  std::chrono::steady_clock::duration limit = kStopLimit;
  int seen = 0;
  bool aborted = false;
  while (controller.busy()) {
    std::this_thread::sleep_for(20ms);
    const int interrupts = interruptCount();
    const auto now = std::chrono::steady_clock::now();
    if (interrupts > seen) {
      if (seen == 0) {
        stoppedAt = now;
        printStatus(gbk::fromUtf8("正在停止：处理完手头这条记录即结束（再按一次 Ctrl-C 立即结束）"));
        controller.stop();
      }
      if (interrupts > 1) {
        limit = std::min<std::chrono::steady_clock::duration>(now - stoppedAt + kNowLimit, limit);
        aborted = true;
        InternetClient::abortAllTransfers(true);
      }
      seen = interrupts;
    }
    if (seen == 0) continue;
    if (!aborted && now - stoppedAt >= kStopGrace) {
      aborted = true;
      InternetClient::abortAllTransfers(true);
    }
    if (now - stoppedAt >= limit) return false;
  }
  return true;
}

// The file given with --out, created before the run; standard output without.
// Nothing when it cannot be created: the reason has been printed.
std::unique_ptr<std::ofstream> openOutput(const CliOptions& options) {
  auto file = std::make_unique<std::ofstream>(pathFromUtf8(options.outPath), std::ios::binary | std::ios::trunc);
  if (*file) return file;
  const std::string reason = std::strerror(errno);
  std::cerr << "gleaner-cli: 无法创建输出文件 " << options.outPath << "\n"
            << "请换一个可以写入的文件夹或文件名后重试。\n"
            << "(" << reason << ")\n";
  return nullptr;
}

int exitStatus(const RunSummary& summary, const std::vector<RowSink*>& sinks) {
  if (summary.outcome == RunSummary::Outcome::Refused) return kExitRefused;
  if (summary.pagesDownloaded == 0) return kExitNoPage;
  for (const RowSink* sink : sinks) {
    if (sink->failed()) {
      std::cerr << "gleaner-cli: 写入结果失败（磁盘已满或输出已关闭？），已写入的行保留。\n";
      return kExitNoPage;
    }
  }
  if (summary.extractionsFailed == summary.pagesDownloaded) {
    std::cerr << "gleaner-cli: 页面已下载，但每一页的解析都失败了：规则文件缺失、损坏或无法从规则服务器下载，\n"
              << "或页面所链接的网页打不开。请检查规则服务器（GLEANER_RULE_SERVER）和网络后重试。\n";
    return kExitNothingExtracted;
  }
  return kExitDone;
}

int run(const CliOptions& options) {
  // The output comes first: an unwritable --out is refused before anything
  // else happens, no page asked for.
  std::unique_ptr<std::ofstream> file;
  if (!options.outPath.empty()) {
    file = openOutput(options);
    if (!file) return kExitRefused;
  }
  std::ostream& out = file ? *file : std::cout;
  std::optional<JsonSummaryFile> json;
  if (!options.jsonSummaryPath.empty()) {
    json.emplace(options.jsonSummaryPath);
    if (!json->ok()) return kExitRefused;
  }
  RowWriter writer(out, options.tsv, options.gbk, !file && RowWriter::standardOutputIsTerminal());
  if (options.header) writer.append(columnHeadingsOf(options.job));
  std::vector<RowSink*> sinks{&writer};

  InternetClient::initialize();
  BuiltinRuleServer builtInRules;
  Sites sites;
  sites.ruleServer = chooseRuleServer(builtInRules);

  MemoryWindow window(sites.itemHost);
  window.setKeepRows(false);
  applyToPage(options, window);
  std::optional<StoreSink> store;
  if (!options.storePath.empty()) {
    store.emplace(pathFromUtf8(options.storePath));
    window.setListMirror(&*store);
  }
  window.onStatusText = printStatus;
  window.onMessage = printStatus;
  window.onReport = printStatus;
  window.onRowAppended = [&sinks](const ResultRow& row) {
    for (RowSink* sink : sinks) sink->append(row);
  };

  installInterruptSignals();
  auto controller = std::make_unique<RunController>(window, sites);
  const bool ended = runToTheEnd(*controller);
  if (store) store->close();
  int status = exitStatus(*controller->latestSummary(), sinks);
  if (json && !json->write(jsonSummary({options.job, controller->latestSummary().get(), status, interruptCount() > 0}))) {
    status = kExitNoPage;
  }
  if (!ended) {
    // A thread is stuck past every limit (it can only be in a transfer or a
    // scan that ignores its bounds). Every row is written and flushed: end
    // the process without waiting for it.
    std::cerr << "gleaner-cli: 已停止。\n";
    std::cerr.flush();
    out.flush();
    std::_Exit(status);
  }
  return status;
}

}  // namespace
}  // namespace gleaner::cli

int main(int argc, char** argv) {
  using namespace gleaner::cli;
  ConsoleSetup console(argc, argv);
  const std::vector<std::string>& args = console.arguments();
  if (!args.empty() && args.front() == "export") {
    return runExportCommand(std::vector<std::string>(args.begin() + 1, args.end()));
  }
  if (!args.empty() && args.front() == "test-rule") {
    return runTestRuleCommand(std::vector<std::string>(args.begin() + 1, args.end()));
  }
  CliOptions options;
  try {
    options = parseCliOptions(args);
  } catch (const UsageError& error) {
    std::cerr << "gleaner-cli: " << error.what() << "\n\n" << kUsage;
    return kExitRefused;
  }
  console.setOutputGbk(options.gbk);
  if (options.help) {
    std::cout << kUsage;
    return kExitDone;
  }
  try {
    return run(options);
  } catch (const std::exception& error) {
    std::cerr << "gleaner-cli: " << error.what() << '\n';
    return kExitRefused;
  }
}
