// A fresh folder per test for store files, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/ResultStore.h"
#include "text/ResultRow.h"
#include "text/PathText.h"

namespace gleaner::testing {

class StoreFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // A Chinese folder name, as a user's profile or chosen folder can have.
    dir = std::filesystem::temp_directory_path() /
          pathFromUtf8("gleaner-结果-" + std::string(info->test_suite_name()) + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;
};

// Every row a store file holds, in list order.
inline std::vector<ResultRow> storedRows(const std::filesystem::path& path) {
  ResultStore store(path, ResultStore::Access::ReadOnly);
  std::vector<ResultRow> rows;
  std::size_t expected = 0;
  store.readRows(0, [&](std::size_t index, ResultRow&& row) {
    EXPECT_EQ(index, expected++) << "rows are numbered from 0 without gaps";
    rows.push_back(std::move(row));
    return true;
  });
  return rows;
}

}  // namespace gleaner::testing
