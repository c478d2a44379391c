// gleaner-cli: runs one job with the engine, the extractors and the rule
// files of the desktop program, with the window kept in memory.
#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

#include "cli/CliOptions.h"
#include "cli/ExportCommand.h"
#include "cli/RowWriter.h"
#include "cli/StoreSink.h"
#include "engine/MainThread.h"
#include "engine/MemoryWindow.h"
#include "engine/RunController.h"
#include "net/InternetClient.h"
#include "net/InternetError.h"
#include "rules/BuiltinRuleServer.h"
#include "rules/RuleServerChoice.h"
#include "text/GbkConvert.h"
#include "text/Literals.h"

namespace gleaner::cli {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitNoPage = 1;
constexpr int kExitRefused = 2;

std::atomic<int> interrupts{0};

extern "C" void onInterrupt(int) { ++interrupts; }

void installInterruptHandler() {
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

// A status line of the engine, GBK with CR LF line ends, as UTF-8 lines.
void printStatus(const std::string& gbkText) {
  std::string text = gbk::toUtf8(gbkText);
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

// Runs the job until every thread of the run has ended. The first Ctrl-C is
// the stop button; a second one makes the page in flight fail at once.
void runToTheEnd(RunController& controller) {
  controller.collect();
  bool stopped = false;
  bool aborted = false;
  while (controller.busy()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (interrupts > 0 && !stopped) {
      stopped = true;
      std::cerr << "stopping: the page in flight is finished first (Ctrl-C again to drop it)\n";
      controller.stop();
    }
    if (interrupts > 1 && !aborted) {
      aborted = true;
      InternetClient::abortAllTransfers(true);
    }
  }
}

bool writeRows(const CliOptions& options, const MemoryWindow& window) {
  std::ofstream file;
  if (!options.outPath.empty()) {
    file.open(options.outPath, std::ios::binary | std::ios::trunc);
    if (!file) {
      std::cerr << "gleaner-cli: cannot write " << options.outPath << '\n';
      return false;
    }
  }
  std::ostream& out = options.outPath.empty() ? std::cout : file;
  RowWriter writer(out, options.tsv, options.gbk);
  if (options.header) {
    ResultRow header;
    const literals::ColumnSet& columns = *columnSetOf(options.job);
    for (std::size_t i = 0; i < header.size(); ++i) header[i] = std::string(columns[i].header);
    writer.write(header);
  }
  for (const ResultRow& row : window.rows()) writer.write(row);
  out.flush();
  if (!out) {
    std::cerr << "gleaner-cli: writing the rows failed\n";
    return false;
  }
  return true;
}

int run(const CliOptions& options) {
  InternetClient::initialize();
  BuiltinRuleServer builtInRules;
  Sites sites;
  sites.ruleServer = chooseRuleServer(builtInRules);

  MemoryWindow window(sites.itemHost);
  applyToPage(options, window);
  std::optional<StoreSink> store;
  if (!options.storePath.empty()) {
    store.emplace(options.storePath);
    window.setListMirror(&*store);
  }
  window.onStatusText = printStatus;
  window.onMessage = printStatus;
  window.onReport = printStatus;

  RunController controller(window, sites);
  installInterruptHandler();
  runToTheEnd(controller);
  if (store) store->close();

  const auto summary = controller.latestSummary();
  const bool rowsWritten = writeRows(options, window);
  if (summary->outcome == RunSummary::Outcome::Refused) return kExitRefused;
  if (summary->pagesDownloaded == 0) return kExitNoPage;
  return rowsWritten ? kExitDone : kExitNoPage;
}

}  // namespace
}  // namespace gleaner::cli

int main(int argc, char** argv) {
  using namespace gleaner::cli;
  if (argc > 1 && std::string(argv[1]) == "export") {
    return runExportCommand(std::vector<std::string>(argv + 2, argv + argc));
  }
  CliOptions options;
  try {
    options = parseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::cerr << "gleaner-cli: " << error.what() << "\n\n" << kUsage;
    return kExitRefused;
  }
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
