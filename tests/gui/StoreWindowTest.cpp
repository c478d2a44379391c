// The window with its result store: restore after an unclean end or from the
// context menu, the clean-end marker, and runs that go on when the store
// fails (read-only folder, full disk, damaged file).
#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/stattext.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <wx/filename.h>

#include "app/ResultListView.h"
#include "app/SearchPage.h"
#include "app/StoreLocation.h"
#include "app/TabPageHost.h"
#include "app/TemplatePage.h"
#include "export/ExportChoice.h"
#include "res/AppTexts.h"
#include "res/ControlIds.h"
#include "RecordedRun.h"
#include "SampleRunFixture.h"
#include "store/StoreWriter.h"
#include "support/FileSizeLimit.h"
#include "support/ReadOnlyFolder.h"
#include "text/PathText.h"

namespace gleaner::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<ResultRow> kBuyerRows{
    {"\xBA\xCB\xCC\xD2\t\r\n", "90084618\t", "nick1", "http://item.taobao.com/item.htm?id=1"},
    {"\xBA\xCB\xCC\xD2\t\r\n", "90084619\t", "=nick2", "http://item.taobao.com/item.htm?id=1"},
    {"\xBA\xCB\xCC\xD2\t\r\n", "90084618\t", "nick1", "http://item.taobao.com/item.htm?id=1"}};

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

wxString label(MainDialog& window, int id) { return dynamic_cast<wxStaticText*>(window.FindWindow(id))->GetLabel(); }

// A window whose list is kept in a store file of its own folder.
class StoreWindow : public SampleRunFixture {
 protected:
  void SetUp() override {
    SampleRunFixture::SetUp();
    // A folder with a Chinese name, as a user's profile folder can have.
    dir = fs::temp_directory_path() /
          pathFromUtf8("gleaner-结果-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    store = dir / "results.sqlite";
  }
  void TearDown() override {
    SampleRunFixture::TearDown();
    fs::remove_all(dir);
  }

  // Opens a new window on the store, as a new start of the program would.
  void reopen() {
    session.reset();
    pumpFor(20);
    session = std::make_unique<MainWindowSession>(sites, store);
    window().setMessagePresenter([this](const wxString& text) { messages.push_back(text); });
    window().setQuestionPresenter([this](const wxString& text) {
      questions.push_back(text);
      return answer;
    });
    window().setChoicePresenter([this](const wxString& text, const std::vector<wxString>& answers) {
      questions.push_back(text);
      choices = answers;
      return choice;
    });
    window().onStatusShown = [this](const wxString& text) { statusLines.push_back(text); };
    window().Show();
    pumpFor(100);
  }

  // A store left as an earlier session left it.
  void leaveStore(const std::vector<ResultRow>& rows, bool clean) {
    StoreWriter writer(store);
    writer.reset(Job::Buyers, headingsOf(Job::Buyers));
    for (std::size_t i = 0; i < rows.size(); ++i) writer.append(i, rows[i]);
    writer.close(clean);
  }

  std::size_t faultLines() const { return std::count(statusLines.begin(), statusLines.end(), wx(res::kStoreFault)); }

  fs::path dir;
  fs::path store;
  bool answer = false;
  int choice = -1;
  std::vector<wxString> choices;
  std::vector<wxString> questions;
  std::vector<wxString> statusLines;
};

TEST(StoreLocation, IsTheUsersDataFolder) {
  const fs::path path = defaultStorePath();
  EXPECT_EQ(path.filename(), "results.sqlite");
  EXPECT_EQ(path.parent_path().filename(), "gleaner");
#ifdef __WXMSW__
  const wchar_t* appData = _wgetenv(L"APPDATA");
  ASSERT_NE(appData, nullptr);
  EXPECT_EQ(path.parent_path().parent_path(), fs::path(appData));
#else
  EXPECT_EQ(path.parent_path().parent_path(), fs::path(wxFileName::GetHomeDir().utf8_string()) / ".local" / "share");
#endif
}

TEST_F(StoreWindow, AfterAnUncleanEndTheUserIsAskedAndTheRowsComeBackAsCollected) {
  leaveStore(kBuyerRows, false);
  answer = true;
  reopen();
  window().offerRestore();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions.front(), wx("上次采集没有正常结束，已保存 3 条结果。是否恢复到列表？"));
  EXPECT_EQ(listRows(), kBuyerRows);
  EXPECT_EQ(window().listColumns(), Job::Buyers);
  EXPECT_EQ(label(window(), ids::kCountDisplay), "3");
  EXPECT_EQ(window().resultList().displayedText(0, 1), "90084618");
  EXPECT_FALSE(window().restoreAvailable());

  // Exported exactly as rows that were just collected.
  ASSERT_TRUE(window().exportTo(ExportChoice::Sellers, ExportFormat::Csv, dir / "r.csv"));
  {
    MainDialog fresh(sites);
    fresh.setMessagePresenter([](const wxString&) {});
    fresh.runStarted({Job::Buyers});
    for (std::size_t i = 0; i < kBuyerRows.size(); ++i) fresh.rowFound(kBuyerRows[i], static_cast<int>(i + 1));
    ASSERT_TRUE(fresh.exportTo(ExportChoice::Sellers, ExportFormat::Csv, dir / "c.csv"));
    fresh.decideClose();
  }
  EXPECT_EQ(readBytes(dir / "r.csv"), readBytes(dir / "c.csv"));

  // The restored list goes on in the store; a clean close is recorded.
  window().rowFound({"t", "b4", "n", "u"}, 4);
  reopen();
  EXPECT_TRUE(questions.size() == 1u) << "no question after a clean close";
  window().offerRestore();
  EXPECT_EQ(questions.size(), 1u);
  ASSERT_TRUE(window().restoreAvailable());
  EXPECT_TRUE(window().restoreLastList());
  ASSERT_EQ(window().model().rowCount(), 4u);
  EXPECT_EQ(window().model().cell(3, 1), "b4");
}

TEST_F(StoreWindow, DecliningKeepsTheRowsForTheMenuUntilTheListChanges) {
  leaveStore(kBuyerRows, false);
  answer = false;
  reopen();
  window().offerRestore();
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(window().model().rowCount(), 0u);
  std::unique_ptr<wxMenu> menu(window().makeContextMenu());
  wxMenuItem* item = menu->FindItem(ids::kRestoreCommand);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetItemLabelText(), wx("恢复上次的列表"));
  EXPECT_TRUE(item->IsEnabled());

  // 全部删除 of the empty list changes nothing; the first change of the list
  // (here a run's start) makes it the stored one.
  window().deleteAll();
  EXPECT_TRUE(window().restoreAvailable());
  window().runStarted({Job::Offers});
  menu.reset(window().makeContextMenu());
  EXPECT_FALSE(menu->FindItem(ids::kRestoreCommand)->IsEnabled());
  EXPECT_FALSE(window().restoreLastList());
  reopen();
  EXPECT_EQ(ResultStore(store, ResultStore::Access::ReadOnly).summary().rows, 0u);
  EXPECT_FALSE(window().restoreAvailable());
}

// The store keeps, with a run's rows, what the run was asked and how it
// ended.
TEST_F(StoreWindow, KeepsTheRequestAndTheOutcomeOfTheLastRun) {
  reopen();
  window().page(TabPage::Search).setControlText(ids::kSearchKeyword, "tiny");
  window().page(TabPage::Search).setControlText(ids::kSearchPages, "2");
  ASSERT_TRUE(collectAndWait());
  const std::vector<ResultRow> rows = listRows();
  session.reset();  // closes the store

  ResultStore stored(store, ResultStore::Access::ReadOnly);
  EXPECT_EQ(stored.facts("run"), offerRequest("tiny", 2).fields());
  const StoreFacts outcome = stored.facts("outcome");
  const StoreFacts expected{{"kind", "finished"}, {"pages", "2"}, {"rows", std::to_string(rows.size())},
                            {"status_line", gbkOf("采集结束：共2页，2条结果，0页没有找到记录，规则出错0次")}};
  EXPECT_EQ(outcome, expected);
  std::vector<ResultRow> storedRows;
  stored.readRows(0, [&](std::size_t, ResultRow&& row) {
    storedRows.push_back(std::move(row));
    return true;
  });
  EXPECT_EQ(storedRows, rows);
}

// A run stopped half way goes on from the context menu; one cut off by a
// kill goes on from the question at the next start. Either way the list
// ends as one uninterrupted run leaves it.
TEST_F(StoreWindow, AStoppedOrKilledBatchGoesOnToTheListOfAnUninterruptedRun) {
  RunRequest request = offerRequest("tiny", 2);
  request.batch = {"tiny", gbkOf("核桃")};
  const std::vector<ResultRow> uninterrupted = recordRun(sites, request).rows;
  ASSERT_GT(uninterrupted.size(), 3u);

  reopen();
  std::unique_ptr<wxMenu> menu(window().makeContextMenu());
  EXPECT_FALSE(menu->FindItem(ids::kResumeCommand)->IsEnabled()) << "nothing to go on with yet";
  static_cast<SearchPage&>(window().page(TabPage::Search)).batch().set(request.batch);
  window().page(TabPage::Search).setControlText(ids::kSearchPages, "2");
  // Held after each page it reads, and stopped there.
  const auto stopAfterMoreRows = [&] {
    const std::size_t rows = window().model().rowCount();
    const std::size_t before = messages.size();
    ASSERT_TRUE(pumpUntil([&] { return window().model().rowCount() > rows; }, 30000));
    window().stop();
    ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 20000));
  };
  window().togglePause();
  window().collect();
  stopAfterMoreRows();
  menu.reset(window().makeContextMenu());
  wxMenuItem* item = menu->FindItem(ids::kResumeCommand);
  ASSERT_TRUE(item->IsEnabled());
  EXPECT_TRUE(item->GetItemLabelText().StartsWith(wx("继续上次的采集（从第"))) << item->GetItemLabelText();

  ASSERT_TRUE(window().resumeLastRun());
  EXPECT_FALSE(window().resumeAvailable()) << "not while it runs";
  stopAfterMoreRows();
  ASSERT_LT(window().model().rowCount(), uninterrupted.size());
  // A kill leaves the store without a clean end.
  session.reset();
  ResultStore(store).setCleanEnd(false);

  choice = 0;
  reopen();
  const auto searchPagesAsked = [&] {
    const auto asked = site->requests();
    return std::count_if(asked.begin(), asked.end(),
                         [](const sample::SiteRequest& r) { return r.target.find("offer_search") != std::string::npos; });
  };
  const auto askedBefore = searchPagesAsked();
  const std::size_t before = messages.size();
  window().offerRestore();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_TRUE(questions.back().Contains(wx("「tiny」")) || questions.back().Contains(wx("「核桃」")))
      << questions.back();
  ASSERT_EQ(choices.size(), 3u);
  EXPECT_EQ(choices[1], wx("只恢复列表"));
  ASSERT_TRUE(pumpUntil([&] { return messages.size() > before; }, 60000));
  EXPECT_EQ(listRows(), uninterrupted);
  EXPECT_LT(searchPagesAsked() - askedBefore, 4) << "it went on, it did not start again";
  EXPECT_EQ(window().model().columns(), kBatchColumns);
  EXPECT_FALSE(window().resumeAvailable()) << "it ended on its own";
}

// A store fault is told once in the status line; the run goes on in memory
// and the list gets every row.
class StoreFaults : public StoreWindow {
 protected:
  void runTheSampleItem() {
    window().tabs().SetSelection(1);
    window().page(TabPage::ItemUrl).setControlText(ids::kItemAddress, kItem);
    ASSERT_TRUE(collectAndWait());
    EXPECT_EQ(messages.back(), wx("任务完成！"));
    const std::vector<ResultRow> expected = recordRun(sites, buyerRequest(kItem)).rows;
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(listRows(), expected);
    EXPECT_EQ(label(window(), ids::kCountDisplay), wxString::Format("%zu", expected.size()));
    pumpFor(200);
    EXPECT_EQ(faultLines(), 1u) << "one clear line";
  }
  static constexpr const char* kItem = "http://item.taobao.com/item.htm?id=19793658234";
};

TEST_F(StoreFaults, AReadOnlyFolder) {
  const fs::path locked = dir / "locked";
  fs::create_directories(locked);
  ReadOnlyFolder readOnly(locked);
  if (!readOnly.active()) GTEST_SKIP() << "no way to make a read-only folder here";
  store = locked / "results.sqlite";
  reopen();
  runTheSampleItem();
}

TEST_F(StoreFaults, ADamagedFile) {
  std::ofstream(store, std::ios::binary) << std::string(5000, '\x07');
  reopen();
  runTheSampleItem();
  EXPECT_EQ(readBytes(store), std::string(5000, '\x07')) << "left for rescue";
}

TEST_F(StoreFaults, AFullDisk) {
  reopen();
  // From now on the store's log may grow by two pages more: the run fills it
  // at once.
  const fs::path log = fs::path(store) += "-wal";
  ASSERT_TRUE(fs::exists(log));
  FileSizeLimit limit(fs::file_size(log) + 2 * (4096 + 24));
  if (!limit.active()) GTEST_SKIP() << "no file size limit here";
  runTheSampleItem();
}

}  // namespace
}  // namespace gleaner::testing
