#include "cli/StoreSink.h"

#include <iostream>

#include "text/PathText.h"

namespace gleaner::cli {
namespace {

constexpr const char* kStoreFault = "结果无法保存到 --store 文件（文件夹只读、硬盘已满或文件损坏），行照常写到输出。";

}  // namespace

StoreSink::StoreSink(const std::filesystem::path& path) : writer_(path) {
  writer_.reset(kNoJob, {});
  tellFault();
}

void StoreSink::columnsSet(CollectionMode mode) {
  writer_.setJob(static_cast<int>(mode), columnHeadingsOf(mode));
  tellFault();
}

void StoreSink::rowsDeleted() {
  writer_.clear();
  tellFault();
}

void StoreSink::rowAppended(std::size_t index, const ResultRow& row) {
  writer_.append(index, row);
  tellFault();
}

void StoreSink::rowChanged(std::size_t index, const ResultRow& row, bool inserted) {
  if (inserted) {
    writer_.insert(index, row);
  } else {
    writer_.update(index, row);
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
