// Export of a large list: 1,000,000 rows (the row count is the first
// argument) to .xlsx and .csv, from the list in memory as the window exports
// and from a store file as `gleaner-cli export` does; then of a list with one
// 40 MB cell, of ASCII and of Chinese text. For each: the time, and the peak
// memory the export added on top of what the process held before (Linux:
// the high-water mark is reset before each export).
//
//   build/bench/export_stress [rows]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "export/ExportJob.h"
#include "export/ModelExportSource.h"
#include "export/StoreExportSource.h"
#include "store/ResultModel.h"
#include "store/StoreWriter.h"
#include "text/Job.h"

namespace {

using namespace gleaner;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Resident and peak resident memory in KiB, -1 where unknown.
long statusValue(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size());
  }
  return -1;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

ResultRow row(std::size_t i) {
  // Cells of the size the sites give: GBK titles and names, an address.
  return {"\xBA\xCB\xCC\xD2\xC8\xCA\xB4\xF3\xBA\xCB\xCC\xD2 500g \xB4\xFC " + std::to_string(i),
          "\xCE\xC2\xD6\xDD\xB0\xA5\xBC\xD2\xC8\xD5\xD3\xC3\xC6\xB7\xB3\xA7 " + std::to_string(i % 5000),
          "b2b-" + std::to_string(1000000000 + i % 5000), "http://detail.1688.com/offer/" + std::to_string(i) + ".html"};
}

void measure(const char* what, ExportSource& source, ExportFormat format, ExportChoice choice, const fs::path& out) {
  const long before = statusValue("VmRSS:");
  resetPeak();
  const Clock::time_point start = Clock::now();
  const ExportResult result = ExportJob::run(source, {choice, format, out});
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const long peak = statusValue("VmHWM:");
  std::printf("%-34s %-4s %8zu rows  %6.2f s  file %6.1f MB  memory +%ld MB (peak %ld MB)%s\n", what,
              format == ExportFormat::Csv ? "csv" : "xlsx", result.rows, seconds,
              static_cast<double>(fs::file_size(out)) / 1e6, (peak - before) / 1024, peak / 1024,
              result.outcome == ExportResult::Outcome::Written ? "" : "  NOT WRITTEN");
}

// A list whose first cell is 40 MB of one character (GBK bytes), among
// ordinary rows, exported whole: the cell is never held twice.
void measureOneBigCell(const fs::path& dir, const char* kind, const std::string& character) {
  std::string cell;
  cell.reserve(40000000);
  while (cell.size() < 40000000) cell += character;
  const fs::path store = dir / "big.sqlite";
  ResultModel model;
  {
    StoreWriter writer(store);
    model.attachStore(&writer);
    model.setJob(Job::Offers, {"\xC9\xCC\xC6\xB7\xC3\xFB\xB3\xC6", "b", "c", "d"});
    model.append({cell, "id", "nick", "http://detail.1688.com/offer/1.html"});
    cell = std::string();
    for (std::size_t i = 1; i < 100; ++i) model.append(row(i));
    model.detachStore();
    writer.close(true);
  }
  const std::string what = std::string("40 MB cell of ") + kind;
  for (const ExportFormat format : {ExportFormat::Xlsx, ExportFormat::Csv}) {
    const char* extension = format == ExportFormat::Csv ? "big.csv" : "big.xlsx";
    ModelExportSource fromMemory(model);
    measure((what + ", in memory").c_str(), fromMemory, format, ExportChoice::Everything, dir / extension);
    StoreExportSource fromStore(store);
    measure((what + ", store").c_str(), fromStore, format, ExportChoice::Everything, dir / extension);
  }
  fs::remove(store);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
  const fs::path dir = fs::temp_directory_path() / ("gleaner-export-stress-" + std::to_string(rows));
  fs::remove_all(dir);
  fs::create_directories(dir);
  {
    ResultModel model;
    StoreWriter writer(dir / "results.sqlite");
    model.attachStore(&writer);
    model.setJob(Job::Offers, headingsOf(Job::Offers));
    for (std::size_t i = 0; i < rows; ++i) model.append(row(i));
    model.detachStore();
    writer.close(true);
    std::printf("list of %zu rows in memory: %ld MB resident\n", rows, statusValue("VmRSS:") / 1024);
    for (const ExportFormat format : {ExportFormat::Xlsx, ExportFormat::Csv}) {
      ModelExportSource source(model);
      measure("list in memory, everything", source, format, ExportChoice::Everything,
              dir / (format == ExportFormat::Csv ? "all.csv" : "all.xlsx"));
    }
    ModelExportSource sellers(model);
    measure("list in memory, sellers", sellers, ExportFormat::Xlsx, ExportChoice::Sellers, dir / "sellers.xlsx");
  }
  for (const ExportFormat format : {ExportFormat::Xlsx, ExportFormat::Csv}) {
    StoreExportSource source(dir / "results.sqlite");
    measure("store file, everything", source, format, ExportChoice::Everything,
            dir / (format == ExportFormat::Csv ? "store.csv" : "store.xlsx"));
  }
  measureOneBigCell(dir, "ASCII", "x");
  measureOneBigCell(dir, "Chinese", "\xBA\xCB");  // 核
  fs::remove_all(dir);
  return 0;
}
