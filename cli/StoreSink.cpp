#include "cli/StoreSink.h"

#include <iostream>

#include "text/PathText.h"

namespace gleaner::cli {
namespace {

constexpr const char* kStoreFault = "结果无法保存到 --store 文件（文件夹只读、硬盘已满或文件损坏），行照常写到输出。";

}  // namespace

StoreSink::StoreSink(const std::filesystem::path& path) : writer_(path) { tellFault(); }

void StoreSink::runStarted(const RunRequest& request, const RunStart& start) {
  {
    std::lock_guard lock(order_);
    rows_ = start.keptRows;
  }
  if (start.keptRows == 0) {
    writer_.reset(start.job, headingsOf(start.job), start.columns);
  } else {
    writer_.setJob(start.job, headingsOf(start.job), start.columns);
    writer_.truncate(start.keptRows);
  }
  writer_.setFacts("run", request.fields());
  writer_.setFacts("outcome", {});
  tellFault();
}

void StoreSink::progressChanged(const RunProgress& progress) {
  writer_.setFacts("progress", progress.fields());
  tellFault();
}

void StoreSink::runEnded(const RunOutcome& outcome) {
  writer_.setFacts("outcome", outcome.fields());
  tellFault();
}

void StoreSink::append(const ResultRow& row) noexcept {
  try {
    std::lock_guard lock(order_);
    writer_.append(rows_++, row);
  } catch (...) {
    // A row the store cannot take is the store's fault, told below.
  }
  tellFault();
}

void StoreSink::close() {
  writer_.close(true);
  tellFault();
}

void StoreSink::tellFault() {
  if (told_) return;
  const auto fault = writer_.takeFault();
  if (!fault || told_.exchange(true)) return;
  std::cerr << "gleaner-cli: " << kStoreFault << '\n' << utf8Of(writer_.path()) << ": " << *fault << '\n';
  std::cerr.flush();
}

}  // namespace gleaner::cli
