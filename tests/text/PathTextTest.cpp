// Chinese file names go to the file system and come back as typed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/ChildProcess.h"
#include "text/PathText.h"

namespace gleaner {
namespace {

namespace fs = std::filesystem;

TEST(PathText, ChineseNamesReachTheFileSystemAsTyped) {
  const std::string folderName = "采集结果-" + std::to_string(testing::currentProcessId());
  const std::string fileName = "核桃 一号.csv";
  const fs::path folder = fs::temp_directory_path() / pathFromUtf8(folderName);
  fs::create_directories(folder);
  std::ofstream(folder / pathFromUtf8(fileName), std::ios::binary) << "rows";

  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(utf8Of(entry.path().filename()));
  EXPECT_EQ(names, std::vector<std::string>{fileName});
  EXPECT_EQ(utf8Of(folder.filename()), folderName);
  std::ifstream in(pathFromUtf8(utf8Of(folder / pathFromUtf8(fileName))), std::ios::binary);
  std::string text;
  in >> text;
  EXPECT_EQ(text, "rows");
  in.close();
  fs::remove_all(folder);
}

}  // namespace
}  // namespace gleaner
