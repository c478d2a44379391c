#include "cli/ExportCommand.h"

#include <filesystem>
#include <iostream>
#include <optional>

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

// Throws std::invalid_argument naming the fault.
ExportOptions parse(const std::vector<std::string>& args) {
  ExportOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string flag = args[i];
    std::optional<std::string> value;
    if (const auto eq = flag.find('='); flag.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = flag.substr(eq + 1);
      flag.resize(eq);
    }
    const auto take = [&]() -> std::string {
      if (value) return *value;
      if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) throw std::invalid_argument(flag + " needs a value");
      return args[++i];
    };
    if (flag == "--store") {
      options.store = take();
    } else if (flag == "--out") {
      options.out = take();
    } else if (flag == "--sellers" && !value) {
      options.sellers = true;
    } else {
      throw std::invalid_argument("unknown option: " + args[i]);
    }
  }
  if (options.store.empty()) throw std::invalid_argument("--store FILE is required");
  if (options.out.empty()) throw std::invalid_argument("--out FILE.xlsx or --out FILE.csv is required");
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
  } catch (const std::invalid_argument& e) {
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
    std::cerr << "gleaner-cli export: cannot read the store " << options.store << ": " << e.what() << '\n';
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
