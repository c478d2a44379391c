// gleaner-cli: runs one job with the engine, the extractors and the rule
// files of the desktop program, without a window.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/ConsoleSetup.h"
#include "cli/ConsoleWatcher.h"
#include "cli/ExportCommand.h"
#include "cli/InterruptSignals.h"
#include "cli/JsonSummary.h"
#include "cli/RowWriter.h"
#include "cli/StoreSink.h"
#include "cli/TestRuleCommand.h"
#include "engine/FailureMessages.h"
#include "engine/PauseSwitch.h"
#include "engine/Run.h"
#include "engine/RunController.h"
#include "engine/RunOutcome.h"
#include "engine/RunProgress.h"
#include "store/ResultStore.h"
#include "text/ListText.h"
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
constexpr int kExitWalkCut = 4;
// Standard output was closed under the run (a pipe whose reader went away):
// the run stopped, as a shell reports a process that a closed pipe ended.
constexpr int kExitOutputClosed = 128 + 13;

// After the first stop request the record in hand may finish its downloads
// for this long; then every transfer is aborted, and the runner ends after
// kStopLimit at the latest, whatever still runs.
constexpr auto kStopGrace = 2s;
constexpr auto kStopLimit = 4s;
// After a second request ("now"): transfers are aborted at once.
constexpr auto kNowLimit = 1s;

// Waits until every thread of the run has ended. The first stop request is
// the stop button, and so is an output that can no longer be written (its
// reader went away); if the record in hand is still downloading after a
// grace period, its transfers are aborted. A second request aborts them at
// once. False when threads still ran at the limit: the process must then
// end without waiting for them.
bool waitForTheEnd(RunController& controller, const std::function<bool()>& outputClosed) {
  std::chrono::steady_clock::time_point stoppedAt;
  std::chrono::steady_clock::duration limit = kStopLimit;
  int seen = 0;
  bool aborted = false;
  while (controller.busy()) {
    std::this_thread::sleep_for(20ms);
    const bool closed = seen == 0 && outputClosed();
    const int interrupts = std::max(interruptCount(), closed ? 1 : 0);
    const auto now = std::chrono::steady_clock::now();
    if (interrupts > seen) {
      if (seen == 0) {
        stoppedAt = now;
        printStatus(gbk::fromUtf8(closed ? "输出已关闭，正在停止：处理完手头这条记录即结束"
                                         : "正在停止：处理完手头这条记录即结束（再按一次 Ctrl-C 立即结束）"));
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

void tellCannotCreate(const char* what, const std::string& path, const std::string& reason) {
  std::cerr << "gleaner-cli: 无法创建" << what << " " << path << "\n"
            << "请换一个可以写入的文件夹或文件名后重试。\n"
            << "(" << reason << ")\n";
}

// Two of the run's files name the same file: one would overwrite the other.
bool sameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code error;
  const std::filesystem::path pa = pathFromUtf8(a);
  const std::filesystem::path pb = pathFromUtf8(b);
  if (std::filesystem::equivalent(pa, pb, error)) return true;
  return std::filesystem::weakly_canonical(pa, error) == std::filesystem::weakly_canonical(pb, error);
}

// The output files must be distinct: the rows, the store and the summary
// would otherwise overwrite each other. The message has been printed.
bool outputsDistinct(const CliOptions& options) {
  const std::pair<const char*, const std::string*> others[] = {{"--store", &options.storePath},
                                                               {"--json-summary", &options.jsonSummaryPath}};
  for (const auto& [flag, path] : others) {
    if (sameFile(options.outPath, *path)) {
      std::cerr << "gleaner-cli: --out 和 " << flag << " 不能是同一个文件：" << options.outPath << "\n"
                << "请给它们不同的文件名后重试。\n";
      return false;
    }
  }
  return true;
}

int exitStatusOf(const std::optional<RunOutcome>& outcome, const std::vector<RowSink*>& sinks, bool outputClosed) {
  const int signal = interruptSignal();
  const bool stopped = !outcome || outcome->kind == OutcomeKind::Stopped;
  if (signal != 0 && stopped) return 128 + signal;
  if (outputClosed && stopped) {
    std::cerr << "gleaner-cli: 输出已关闭，采集已停止；已写入的行保留。\n";
    return kExitOutputClosed;
  }
  for (const RowSink* sink : sinks) {
    if (sink->failed()) {
      std::cerr << "gleaner-cli: 写入结果失败（磁盘已满或输出已关闭？），已写入的行保留。\n";
      return kExitNoPage;
    }
  }
  if (!outcome) return kExitNoPage;
  switch (outcome->kind) {
    case OutcomeKind::Finished:
    case OutcomeKind::ResultsEnded:
    case OutcomeKind::Stopped: return kExitDone;
    case OutcomeKind::NothingDownloaded:
    case OutcomeKind::NotAnItemPage: return kExitNoPage;
    case OutcomeKind::ExtractionsFailed: return kExitNothingExtracted;
    case OutcomeKind::PageFailed: return kExitWalkCut;
  }
  return kExitDone;
}

// The batch a --keywords-file or --item-urls-file names; nothing when it
// cannot be read or lists nothing (told on standard error).
std::optional<std::vector<std::string>> readBatch(const std::string& path) {
  std::ifstream file(pathFromUtf8(path), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file && !file.eof()) {
    std::cerr << "gleaner-cli: 无法读取列表文件 " << path << "\n请检查文件名和文件夹后重试。\n";
    return std::nullopt;
  }
  std::vector<std::string> entries = gbk::listEntries(bytes);
  if (entries.empty()) {
    std::cerr << "gleaner-cli: 列表文件 " << path << " 里没有要采集的关键词或网址（空行和以 # 开头的行不算）。\n";
    return std::nullopt;
  }
  return entries;
}

// Runs request (from where from says, for a resumed run) with the outputs
// options name, already checked, to its end.
int collect(const CliOptions& options, const RunRequest& request, const std::optional<RunProgress>& from,
            std::optional<JsonSummaryFile>& json) {
  std::ofstream file;
  if (!options.outPath.empty()) {
    file.open(pathFromUtf8(options.outPath), std::ios::binary | std::ios::trunc);
    if (!file) {
      tellCannotCreate("输出文件", options.outPath, std::strerror(errno));
      return kExitRefused;
    }
  }
  std::ostream& out = options.outPath.empty() ? std::cout : file;
  RowWriter writer(out, options.tsv, options.gbk, options.outPath.empty() && RowWriter::standardOutputIsTerminal());
  writer.setColumns(listColumnsOf(request.job, request.isBatch()));
  if (!options.outPath.empty()) writer.startFile();
  if (options.header) writer.append(headingsOf(request.job));
  std::vector<RowSink*> sinks{&writer};
  std::optional<StoreSink> store;
  if (!options.storePath.empty()) {
    store.emplace(pathFromUtf8(options.storePath));
    sinks.push_back(&*store);
  }

  InternetClient::initialize();
  BuiltinRuleServer builtInRules;
  Sites sites;
  sites.ruleServer = chooseRuleServer(builtInRules);
  ConsoleWatcher watcher(request, sinks, store ? &*store : nullptr);
  PauseSwitch pause;  // the runner has no pause button

  installInterruptSignals();
  auto controller = std::make_unique<RunController>(watcher, sites, pause);
  if (!controller->collect(request, from)) {
    printStatus(runThreadFailureMessage());
    return kExitNoPage;
  }
  // Only standard output closes under a run: a file that cannot be written
  // is a fault told at the end, and the run goes on for its store.
  const auto outputClosed = [&] { return options.outPath.empty() && writer.failed(); };
  const bool ended = waitForTheEnd(*controller, outputClosed);
  if (store) store->close();
  const std::optional<RunOutcome> outcome = controller->latestRun()->outcome();
  int status = exitStatusOf(outcome, sinks, outputClosed());
  if (json && !json->write(jsonSummary({request.job, outcome ? &*outcome : nullptr, status}))) status = kExitNoPage;
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

int run(const CliOptions& options) {
  const Job job = *options.job;
  // The run's settings and every output are checked before any file is
  // created or emptied, and before any page is asked for.
  RunSettings settings = runSettingsOf(options, Sites{}.itemHost);
  if (options.listFile) {
    const auto batch = readBatch(*options.listFile);
    if (!batch) return kExitRefused;
    settings.batch = *batch;
  }
  const SettingsReading reading = readRunSettings(settings);
  if (!outputsDistinct(options)) return kExitRefused;
  std::optional<JsonSummaryFile> json;
  if (!options.jsonSummaryPath.empty()) {
    json.emplace(options.jsonSummaryPath);
    if (!json->ok()) return kExitRefused;
  }
  if (!reading.leftOutWarning.empty()) std::cerr << reading.leftOutWarning << "\n";
  if (!reading.request) {
    printStatus(reading.refusal);
    if (json) json->write(jsonSummary({job, nullptr, kExitRefused}));
    return kExitRefused;
  }
  return collect(options, *reading.request, std::nullopt, json);
}

// gleaner-cli resume: the run a store recorded goes on from the page it was
// reading, into the same store.
int resume(const std::vector<std::string>& args) {
  CliOptions options;
  try {
    options = parseResumeOptions(args);
  } catch (const UsageError& error) {
    std::cerr << "gleaner-cli: " << error.what() << "\n\n" << kUsage;
    return kExitRefused;
  }
  if (options.help) {
    std::cout << kUsage;
    return kExitDone;
  }
  StoredRun stored;
  std::size_t storedRows = 0;
  try {
    ResultStore store(pathFromUtf8(options.storePath), ResultStore::Access::ReadOnly);
    const StoreSummary summary = store.summary();
    stored = storedRun(summary.run, summary.progress, summary.outcome);
    storedRows = summary.rows;
  } catch (const std::exception& error) {
    std::cerr << "gleaner-cli: 无法读取结果文件 " << options.storePath << "。\n请检查文件名后重试。\n(" << error.what()
              << ")\n";
    return kExitRefused;
  }
  if (stored.state == StoredRun::State::None) {
    std::cerr << "gleaner-cli: 结果文件 " << options.storePath << " 里没有记录过采集，没有可以继续的。\n";
    return kExitRefused;
  }
  if (stored.state == StoredRun::State::Ended) {
    std::cerr << "gleaner-cli: 结果文件 " << options.storePath << " 里记录的采集已经结束，没有可以继续的。\n";
    return kExitRefused;
  }
  if (storedRows < stored.progress.rowsBefore) {
    // Going on would leave a gap where the missing rows stood.
    std::cerr << "gleaner-cli: 结果文件 " << options.storePath << " 里的结果比记录的采集少（列表已被清空或改动），无法接着采集。\n"
              << "请重新开始采集。\n";
    return kExitRefused;
  }
  options.job = stored.request.job;
  if (!outputsDistinct(options)) return kExitRefused;
  std::optional<JsonSummaryFile> json;
  if (!options.jsonSummaryPath.empty()) {
    json.emplace(options.jsonSummaryPath);
    if (!json->ok()) return kExitRefused;
  }
  return collect(options, stored.request, stored.progress, json);
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
  if (!args.empty() && args.front() == "resume") {
    try {
      return resume(std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const std::exception& error) {
      std::cerr << "gleaner-cli: " << error.what() << '\n';
      return kExitRefused;
    }
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
