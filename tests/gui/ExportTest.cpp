#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/timer.h>

#include "app/ExportFileChooser.h"
#include "app/ExportFolderMemory.h"
#include "app/ResultListView.h"
#include "MainWindowFixture.h"
#include "res/AppTexts.h"
#include "support/ChildProcess.h"
#include "support/ReadOnlyFolder.h"
#include "support/WorkbookCells.h"
#include "text/PathText.h"

#ifdef _WIN32
#include <wx/msw/wrapwin.h>
#endif

namespace gleaner::testing {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ExportFromTheList : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    dir = fs::temp_directory_path() / ("gleaner-export-" + std::to_string(currentProcessId()));
    fs::create_directories(dir);
  }
  void TearDown() override {
    fs::remove_all(dir);
    MainWindowFixture::TearDown();
  }
  void fillSellerRows() {
    bool done = false;
    std::thread worker([&] {
      window->runStarted({Job::Sellers});
      // GBK cells as the extractors give them.
      window->rowFound({"\xBA\xCB\xCC\xD2 A", "id1", "nick1", "3\xD7\xEA"}, 1);  // 核桃 A, 3钻
      window->rowFound({"=cmd|' /C calc'!A0", "id2", "nick2", "1\xD7\xEA"}, 2);
      window->rowFound({"walnut, \"big\"", "id1", "nick1", "3\xD7\xEA"}, 3);
      window->rowFound({"\tpadded\r\n", "-id3", "n\x01ick3", "x"}, 4);
      done = true;
    });
    ASSERT_TRUE(pumpUntil([&] { return done; }));
    worker.join();
  }

  fs::path dir;
};

TEST_F(ExportFromTheList, WritesEverythingAsCsvWithHeadingsAndBom) {
  fillSellerRows();
  const fs::path path = dir / "all.csv";
  ASSERT_TRUE(window->exportTo(ExportChoice::Everything, ExportFormat::Csv, path));
  EXPECT_EQ(readFile(path),
            "\xEF\xBB\xBF"
            "商品名称,卖家ID,卖家旺旺昵称,信用等级\r\n"
            "核桃 A,id1,nick1,3钻\r\n"
            "'=cmd|' /C calc'!A0,id2,nick2,1钻\r\n"
            "\"walnut, \"\"big\"\"\",id1,nick1,3钻\r\n"
            "padded,'-id3,nick3,x\r\n");
  EXPECT_FALSE(fs::exists(dir / "all.csv.part"));
  ASSERT_EQ(messages.size(), 1u) << "the user is told where the rows went";
  EXPECT_EQ(messages.back(), wx("已导出 4 行到：") + wxString::FromUTF8(utf8Of(path)));
}

TEST_F(ExportFromTheList, WritesSellerInformationAsAWorkbookWithoutDuplicates) {
  fillSellerRows();
  const fs::path path = dir / "sellers.xlsx";
  ASSERT_TRUE(window->exportTo(ExportChoice::Sellers, ExportFormat::Xlsx, path));
  const auto cells = workbookCells(path);
  const std::map<std::string, std::string> expected{
      {"A1", "卖家ID"}, {"B1", "卖家旺旺昵称"}, {"C1", "信用等级"},
      {"A2", "id1"},    {"B2", "nick1"},        {"C2", "3钻"},
      {"A3", "id2"},    {"B3", "nick2"},        {"C3", "1钻"},
      {"A4", "-id3"},   {"B4", "nick3"},        {"C4", "x"}};
  EXPECT_EQ(cells, expected);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages.back(), wx("已导出 3 行到：") + wxString::FromUTF8(utf8Of(path)));
}

TEST_F(ExportFromTheList, TellsTheUserInChineseWhenThereIsNothingOrTheFileCannotBeWritten) {
  EXPECT_FALSE(window->exportTo(ExportChoice::Everything, ExportFormat::Csv, dir / "e.csv"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages.back(), wx(res::kExportNothing));
  EXPECT_FALSE(fs::exists(dir / "e.csv"));
  window->exportList();  // the button says the same before any dialog
  EXPECT_EQ(messages.size(), 2u);

  fillSellerRows();
  for (ExportFormat format : {ExportFormat::Csv, ExportFormat::Xlsx}) {
    messages.clear();
    const fs::path nowhere = dir / "missing-folder" / "out.file";
    EXPECT_FALSE(window->exportTo(ExportChoice::Everything, format, nowhere));
    ASSERT_EQ(messages.size(), 1u);
    const wxArrayString lines = wxSplit(messages.back(), '\n');
    ASSERT_EQ(lines.size(), 3u) << messages.back();
    EXPECT_EQ(lines[0], wx(res::kExportFailed) + wxString::FromUTF8(utf8Of(nowhere)));
    EXPECT_EQ(lines[1], wx(res::kExportFailedAdvice)) << "what to do";
    EXPECT_FALSE(lines[2].empty()) << "the library's own text comes last";
    EXPECT_EQ(window->model().rowCount(), 4u);
  }

  // A folder that takes no new file: the existing file stays as it was.
  const fs::path existing = dir / "keep.csv";
  std::ofstream(existing) << "old";
  messages.clear();
  bool wrote = true;
  {
    ReadOnlyFolder readOnly(dir);
    if (!readOnly.active()) GTEST_SKIP() << "no way to make a read-only folder here";
    wrote = window->exportTo(ExportChoice::Everything, ExportFormat::Csv, existing);
  }
  EXPECT_FALSE(wrote);
  EXPECT_EQ(readFile(existing), "old");
  EXPECT_TRUE(messages.back().StartsWith(wx(res::kExportFailed)));
}

#ifdef _WIN32
// A file that another program holds open (a spreadsheet showing it) cannot
// be replaced on Windows: the export fails, says so, and the file stays.
TEST_F(ExportFromTheList, AFileHeldOpenElsewhereStaysAsItWas) {
  fillSellerRows();
  const fs::path existing = dir / "held.csv";
  std::ofstream(existing) << "old";
  messages.clear();
  const HANDLE held = CreateFileW(existing.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const bool wrote = window->exportTo(ExportChoice::Everything, ExportFormat::Csv, existing);
  CloseHandle(held);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(readFile(existing), "old");
  ASSERT_FALSE(messages.empty());
  EXPECT_TRUE(messages.back().StartsWith(wx(res::kExportFailed))) << messages.back();
  for (const auto& entry : fs::directory_iterator(dir)) EXPECT_EQ(entry.path(), existing) << "no partial file is left";
}
#endif

// A folder and a file named in Chinese, as a user picks them in the save
// dialog (D:\采集结果\核桃.xlsx): both formats land under those names.
TEST_F(ExportFromTheList, WritesToAFolderAndFileWithChineseNames) {
  fillSellerRows();
  const fs::path folder = dir / pathFromUtf8("采集结果");
  fs::create_directories(folder);
  for (const char* name : {"核桃.xlsx", "核桃.csv"}) {
    const fs::path path = folder / pathFromUtf8(name);
    const ExportFormat format = path.extension() == ".csv" ? ExportFormat::Csv : ExportFormat::Xlsx;
    ASSERT_TRUE(window->exportTo(ExportChoice::Everything, format, path)) << name;
  }
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(utf8Of(entry.path().filename()));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"核桃.csv", "核桃.xlsx"}));
  EXPECT_EQ(workbookCells(folder / pathFromUtf8("核桃.xlsx")).at("A2"), "核桃 A");
  EXPECT_NE(readFile(folder / pathFromUtf8("核桃.csv")).find("核桃 A,id1,nick1,3钻\r\n"), std::string::npos);
}

TEST_F(ExportFromTheList, ALargeListShowsProgressAndACancelledExportWritesNothing) {
  bool done = false;
  std::thread worker([&] {
    window->runStarted({Job::Offers});
    for (int i = 0; i < 25000; ++i) window->rowFound({"name" + std::to_string(i), "m", "w", "u"}, i + 1);
    done = true;
  });
  ASSERT_TRUE(pumpUntil([&] { return done; }));
  worker.join();

  const fs::path path = dir / "big.csv";
  std::ofstream(path) << "old";
  std::vector<std::size_t> seen;
  window->setProgressPresenter([&](std::size_t rows, std::size_t total) {
    EXPECT_EQ(total, 25000u);
    seen.push_back(rows);
    return seen.size() < 3;  // the user presses cancel at the third step
  });
  EXPECT_FALSE(window->exportTo(ExportChoice::Everything, ExportFormat::Csv, path));
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(readFile(path), "old");
  EXPECT_EQ(messages.back(), wx(res::kExportCancelled));
  for (const auto& entry : fs::directory_iterator(dir)) EXPECT_EQ(entry.path(), path) << "no partial file is left";

  // The real progress dialog, to the end.
  window->setProgressPresenter({});
  EXPECT_TRUE(window->exportTo(ExportChoice::Everything, ExportFormat::Csv, path));
  const std::string written = readFile(path);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 25001);
}

// The save dialog: the typed extension decides, a name other than the one
// the dialog returned is confirmed, and 否 goes back to the dialog.
TEST_F(ExportFromTheList, TheTypedExtensionDecidesAndARenamedTargetIsConfirmed) {
  std::vector<wxString> questions;
  bool answer = false;
  const auto ask = [&](const wxString& text) {
    questions.push_back(text);
    return answer;
  };
  struct Shown {
    wxString folder, name;
    int filterIndex;
  };
  std::vector<Shown> shown;
  std::vector<ExportFileChooser::Answer> answers;
  const ExportFileChooser::SaveDialog dialog = [&](const wxString& folder, const wxString& name, int filterIndex)
      -> std::optional<ExportFileChooser::Answer> {
    shown.push_back({folder, name, filterIndex});
    if (answers.empty()) return std::nullopt;  // cancelled
    const ExportFileChooser::Answer next = answers.front();
    answers.erase(answers.begin());
    return next;
  };
  const wxString folder = wxString::FromUTF8(utf8Of(dir));
  const wxString base = wxString::FromUTF8(utf8Of(dir / pathFromUtf8("采集结果")));

  answers = {{base + ".CSV", 0}};
  auto target = ExportFileChooser::choose(dialog, ask, folder);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->format, ExportFormat::Csv) << "typed .CSV with the Excel type chosen";
  EXPECT_EQ(target->path, dir / pathFromUtf8("采集结果.CSV"));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].folder, folder) << "it opens in the folder given";
  EXPECT_EQ(shown[0].name, wx(res::kExportDefaultName));

  answers = {{base, 1}};
  target = ExportFileChooser::choose(dialog, ask, folder);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->path, dir / pathFromUtf8("采集结果.csv"));
  EXPECT_TRUE(questions.empty()) << "nothing to replace";

  // An existing file under the name with its extension added: 否 goes back
  // to the dialog, which shows that name; the next choice is written.
  std::ofstream(dir / pathFromUtf8("采集结果.xlsx")) << "earlier export";
  shown.clear();
  answers = {{base, 0}, {base + wx("二"), 1}};
  target = ExportFileChooser::choose(dialog, ask, folder);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->path, dir / pathFromUtf8("采集结果二.csv"));
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_TRUE(questions.back().Contains(wx("采集结果.xlsx"))) << questions.back();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].folder, folder);
  EXPECT_EQ(shown[1].name, wx("采集结果.xlsx"));
  EXPECT_EQ(shown[1].filterIndex, 0);

  // 是 replaces it; cancelling the dialog cancels the export.
  answer = true;
  answers = {{base, 0}};
  target = ExportFileChooser::choose(dialog, ask, folder);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->format, ExportFormat::Xlsx);
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_FALSE(ExportFileChooser::choose(dialog, ask, folder));

  // What Windows' own dialog makes of a typed 核桃.csv with the Excel type chosen.
  EXPECT_EQ(ExportFileChooser::typedName(wx("核桃.csv.xlsx"), 0), wx("核桃.csv"));
  EXPECT_EQ(ExportFileChooser::typedName(wx("核桃.XLSX.csv"), 1), wx("核桃.XLSX"));
  for (const char* name : {"核桃.xlsx", "核桃.txt.xlsx", ".csv.xlsx", "核桃.csv"}) {
    EXPECT_EQ(ExportFileChooser::typedName(wx(name), 0), wx(name));
  }
}

// The save dialog opens where the last export went, also after a restart.
TEST_F(ExportFromTheList, TheLastExportFolderIsRemembered) {
  const fs::path kept = dir / "data" / "export-folder.txt";
  const fs::path folder = dir / pathFromUtf8("采集结果");
  fs::create_directories(folder);
  EXPECT_EQ(ExportFolderMemory(kept).recall(), "") << "nothing yet";
  ExportFolderMemory(kept).remember(folder);
  EXPECT_EQ(ExportFolderMemory(kept).recall(), wxString::FromUTF8(utf8Of(folder)));
  EXPECT_EQ(ExportFolderMemory::besideStore(dir / "data" / "results.sqlite"), kept);
  fs::remove_all(folder);
  EXPECT_EQ(ExportFolderMemory(kept).recall(), "") << "a folder that is gone is not offered";
  EXPECT_EQ(ExportFolderMemory(std::nullopt).recall(), "");
}

#ifdef __WXGTK__
// Switching the type in the shown dialog swaps the proposed extension.
TEST_F(ExportFromTheList, SwitchingTheTypeSwapsTheProposedExtension) {
  wxFileDialog save(window, "save", wxString::FromUTF8(utf8Of(dir)), wx(res::kExportDefaultName),
                    wx(res::kExportWildcard), wxFD_SAVE);
  const auto follower = ExportFileChooser::followFileType(save);
  wxString shownAfterSwitch;
  wxTimer driver;
  int step = 0;
  driver.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (step++ == 0) {
      save.SetFilterIndex(1);  // as the user choosing CSV
    } else {
      shownAfterSwitch = wxFileName(save.GetPath()).GetFullName();
      driver.Stop();
      save.EndModal(wxID_CANCEL);
    }
  });
  driver.Start(400);
  save.ShowModal();
  EXPECT_EQ(shownAfterSwitch, wx("采集结果.csv"));
}
#endif

#ifdef __WXMSW__
// Windows' own save dialog, as a user types 核桃.csv into it with the Excel
// type chosen: a CSV file of that name is what gets written.
TEST_F(ExportFromTheList, OnWindowsTheTypedExtensionDecidesInTheNativeDialog) {
  const wxString folder = wxString::FromUTF8(utf8Of(dir));
  wxTimer typist;
  int tries = 0;
  typist.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (++tries > 100) typist.Stop();
    // The dialog runs on this thread: the focus is in its file name box.
    const HWND box = GetFocus();
    if (box == nullptr) return;
    HWND dialog = GetAncestor(box, GA_ROOT);
    wchar_t title[128] = {};
    GetWindowTextW(dialog, title, 128);
    if (wxString(title) != wx(res::kExportSaveTitle)) return;
    typist.Stop();
    SetWindowTextW(box, L"\u6838\u6843.csv");  // 核桃.csv
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  typist.Start(200);
  const auto target = ExportFileChooser::choose(
      window, [](const wxString&) { return true; }, folder);
  ASSERT_TRUE(target) << "the dialog was not answered";
  EXPECT_EQ(target->path, dir / pathFromUtf8("核桃.csv"));
  EXPECT_EQ(target->format, ExportFormat::Csv);
}
#endif

}  // namespace
}  // namespace gleaner::testing
