#include "cli/ExportCommand.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/CliOptions.h"
#include "cli/FlagReader.h"
#include "export/ExportError.h"
#include "export/ExportJob.h"
#include "export/ExportReport.h"
#include "export/ExportTarget.h"
#include "export/StoreExportSource.h"
#include "store/StoreError.h"
#include "text/PathText.h"

namespace gleaner::cli {

const char* const kExportUsage =
    "usage: gleaner-cli export --store FILE --out FILE.xlsx|FILE.csv [--sellers]\n"
    "  Exports the list kept in a result store (see --store) as the window's 导出列表\n"
    "  does: every row with the job's four headings, or with --sellers the seller\n"
    "  columns, each ID/Wangwang pair once. The format follows the extension of --out.\n"
    "  Exit status: 0 written, 1 the store holds no rows, 2 bad usage or a store or\n"
    "  output file that cannot be used.\n";

namespace {

constexpr int kWritten = 0;
constexpr int kNothing = 1;
constexpr int kRefused = 2;

struct ExportOptions {
  std::string store;
  std::string out;
  bool sellers = false;
};

// Throws UsageError naming the fault.
ExportOptions parse(const std::vector<std::string>& args) {
  ExportOptions options;
  FlagReader flags(args);
  while (flags.next()) {
    if (flags.flag() == "--store") {
      options.store = flags.value();
    } else if (flags.flag() == "--out") {
      options.out = flags.value();
    } else if (flags.flag() == "--sellers" && !flags.hasInlineValue()) {
      options.sellers = true;
    } else {
      throw UsageError("unknown option: " + flags.argument());
    }
  }
  if (options.store.empty()) throw UsageError("--store FILE is required");
  if (options.out.empty()) throw UsageError("--out FILE.xlsx or --out FILE.csv is required");
  return options;
}

}  // namespace

int runExportCommand(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << kExportUsage;
      return kWritten;
    }
  }
  ExportOptions options;
  try {
    options = parse(args);
  } catch (const UsageError& e) {
    std::cerr << "gleaner-cli export: " << e.what() << "\n\n" << kExportUsage;
    return kRefused;
  }
  const ExportTarget target = ExportTarget::resolve(pathFromUtf8(options.out), ExportFormat::Xlsx);
  if (target.extensionAdded) {
    std::cerr << "gleaner-cli export: --out must end in .xlsx or .csv\n\n" << kExportUsage;
    return kRefused;
  }
  std::optional<StoreExportSource> source;
  try {
    source.emplace(pathFromUtf8(options.store));
  } catch (const StoreError& e) {
    std::cerr << "gleaner-cli export: 无法读取结果文件 " << options.store
              << "：文件不存在、已损坏或不是结果文件。请检查 --store 给出的文件。\n(" << e.what() << ")\n";
    return kRefused;
  } catch (const ExportError& e) {
    std::cerr << "gleaner-cli export: 结果文件 " << options.store
              << " 中的列表不属于任何一种采集，无法确定导出的列。文件可能已损坏或被其他程序改过。\n(" << e.what()
              << ")\n";
    return kRefused;
  }
  const ExportRequest request{options.sellers ? ExportChoice::Sellers : ExportChoice::Everything, target.format,
                              target.path};
  const ExportResult result = ExportJob::run(*source, request);
  std::cerr << exportReport(result, options.out) << '\n';
  switch (result.outcome) {
    case ExportResult::Outcome::Written: return kWritten;
    case ExportResult::Outcome::Nothing: return kNothing;
    default: return kRefused;
  }
}

}  // namespace gleaner::cli
