// The batch box: a list file in either encoding comes in as its entries, a
// file that is no list is refused, and a queued batch takes the place of the
// tab's keyword until it is emptied.
#include <gtest/gtest.h>
#include <wx/stattext.h>
#include <wx/textentry.h>

#include <filesystem>
#include <fstream>

#include "app/BatchDialog.h"
#include "app/SearchPage.h"
#include "MainWindowFixture.h"
#include "res/ControlIds.h"
#include "text/GbkConvert.h"

namespace gleaner::testing {
namespace {

namespace fs = std::filesystem;

using BatchBox = MainWindowFixture;

fs::path written(const std::string& name, const std::string& bytes) {
  const fs::path path = fs::path(::testing::TempDir()) / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

TEST_F(BatchBox, LoadsListFilesAndRefusesWhatIsNoList) {
  const std::vector<std::string> keywords{gbkOf("核桃"), gbkOf("手机 壳")};
  BatchDialog dialog(window, false, {});
  std::vector<wxString> told;
  dialog.setMessagePresenter([&](const wxString& text) { told.push_back(text); });
  const auto count = [&] { return dynamic_cast<wxStaticText*>(dialog.FindWindow(ids::kBatchCount))->GetLabel(); };

  ASSERT_TRUE(dialog.loadFile(written("utf8.txt", "\xEF\xBB\xBF核桃\r\n# 注释\n\n  手机 壳　\n")));
  EXPECT_EQ(dialog.entries(), keywords);
  EXPECT_EQ(count(), wx("共 2 个关键词"));
  ASSERT_TRUE(dialog.loadFile(written("gbk.txt", gbkOf("核桃\r\n手机 壳\r\n"))));
  EXPECT_EQ(dialog.entries(), keywords);

  const fs::path huge = written("huge.txt", "");
  fs::resize_file(huge, BatchDialog::kLargestFile + 1);
  EXPECT_FALSE(dialog.loadFile(huge));
  EXPECT_FALSE(dialog.loadFile(fs::path(::testing::TempDir()) / "none.txt"));
  ASSERT_EQ(told.size(), 2u);
  EXPECT_TRUE(told[0].Contains(wx("太大"))) << told[0];
  EXPECT_TRUE(told[1].Contains(wx("无法读取"))) << told[1];
  EXPECT_EQ(dialog.entries(), keywords) << "a refused file leaves the list";
  fs::remove(huge);
}

TEST_F(BatchBox, AQueuedBatchTakesThePlaceOfTheKeywordUntilEmptied) {
  auto& page = static_cast<SearchPage&>(window->page(TabPage::Search));
  auto* box = page.FindWindow(ids::kSearchKeyword);
  page.setControlText(ids::kSearchKeyword, "tiny");
  const std::vector<std::string> keywords{"tiny", gbkOf("核桃")};

  page.batch().set(keywords);
  RunSettings settings = page.settings();
  EXPECT_EQ(settings.batch, keywords);
  EXPECT_EQ(settings.keyword, "");
  EXPECT_FALSE(box->IsEnabled());
  EXPECT_EQ(dynamic_cast<wxTextEntry*>(box)->GetValue(), wx("批量采集 2 个关键词（点“批量…”修改或清空）"));

  page.batch().set({});
  settings = page.settings();
  EXPECT_TRUE(settings.batch.empty());
  EXPECT_EQ(settings.keyword, "tiny");
  EXPECT_TRUE(box->IsEnabled());
}

}  // namespace
}  // namespace gleaner::testing
