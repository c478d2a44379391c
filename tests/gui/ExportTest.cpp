#include <gtest/gtest.h>
#include <wx/listctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <thread>

#ifdef _WIN32
#include <wx/msw/wrapwin.h>
#else
#include <unistd.h>
#endif

#include "app/CsvExportWriter.h"
#include "app/ExportTable.h"
#include "MainWindowFixture.h"
#include "res/AppTexts.h"
#include "support/ChildProcess.h"
#include "text/PathText.h"
#include "ZipEntries.h"

namespace gleaner::testing {
namespace {

namespace fs = std::filesystem;

TEST(ExportCells, AreCleanedForAWorkbook) {
  EXPECT_EQ(ExportTable::cleanCell("\t\r\n name \r\n\t"), " name ");
  EXPECT_EQ(ExportTable::cleanCell("a\x01" "b\x1F" "c\td\ne"), "abc\td\ne");
  EXPECT_EQ(ExportTable::cleanCell("\x02\tleading"), "leading") << "dropped first, then trimmed";
  EXPECT_EQ(ExportTable::cleanCell("x\xEF\xBF\xBFy"), "xy") << "U+FFFF";
  EXPECT_EQ(ExportTable::cleanCell("bad\xC3"), "bad\xEF\xBF\xBD");
  EXPECT_EQ(ExportTable::cleanCell("核桃"), "核桃");

  for (const char* formula : {"=1+2", "+SUM(A1)", "-3", "@cmd"}) EXPECT_TRUE(ExportTable::looksLikeFormula(formula));
  for (const char* plain : {"", "a=b", " =1", "12"}) EXPECT_FALSE(ExportTable::looksLikeFormula(plain));

  EXPECT_EQ(CsvExportWriter::field("plain"), "plain");
  EXPECT_EQ(CsvExportWriter::field("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvExportWriter::field("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvExportWriter::field("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(CsvExportWriter::field("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
}

TEST(ExportTables, SellerInformationIsThePersonColumnsOnce) {
  const ExportTable::ListRow headings{"h0", "h1", "h2", "h3"};
  const std::vector<ExportTable::ListRow> rows{
      {"p1", "id1", "nick1", "3钻"}, {"p2", "id2", "nick2", "1钻"}, {"p3", "id1", "nick1", "3钻"},
      {"p4", "id1", "other", "3钻"}, {"p5", "\tid2\r\n", "nick2", "1钻"}};

  const ExportTable all = ExportTable::fromList(CollectionMode::SellerSearch, headings, rows, ExportChoice::Everything);
  EXPECT_EQ(all.headings(), (std::vector<std::string>{"h0", "h1", "h2", "h3"}));
  ASSERT_EQ(all.rows().size(), 5u);
  EXPECT_EQ(all.rows()[4][1], "id2");

  const ExportTable sellers = ExportTable::fromList(CollectionMode::SellerSearch, headings, rows, ExportChoice::Sellers);
  EXPECT_EQ(sellers.headings(), (std::vector<std::string>{"h1", "h2", "h3"}));
  EXPECT_EQ(sellers.rows(), (std::vector<std::vector<std::string>>{
                                {"id1", "nick1", "3钻"}, {"id2", "nick2", "1钻"}, {"id1", "other", "3钻"}}));

  const ExportTable buyers = ExportTable::fromList(CollectionMode::ItemBuyers, headings, rows, ExportChoice::Sellers);
  EXPECT_EQ(buyers.headings(), (std::vector<std::string>{"h1", "h2"}));
  EXPECT_EQ(buyers.rows().size(), 3u);
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The cells of the first sheet of a workbook, by reference ("A1" -> text).
std::map<std::string, std::string> workbookCells(const fs::path& path) {
  const auto entries = readZipEntries(path.string());
  std::vector<std::string> shared;
  const std::string& strings = entries.count("xl/sharedStrings.xml") ? entries.at("xl/sharedStrings.xml") : "";
  const std::regex si("<si><t(?: [^>]*)?>([^<]*)</t></si>");
  for (auto it = std::sregex_iterator(strings.begin(), strings.end(), si); it != std::sregex_iterator(); ++it) {
    std::string text = (*it)[1];
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
      for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
      }
    }
    shared.push_back(text);
  }
  std::map<std::string, std::string> cells;
  const std::string& sheet = entries.count("xl/worksheets/sheet1.xml") ? entries.at("xl/worksheets/sheet1.xml") : "";
  const std::regex cell("<c r=\"([A-Z]+[0-9]+)\"[^>]*t=\"s\"[^>]*><v>([0-9]+)</v></c>");
  for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), cell); it != std::sregex_iterator(); ++it) {
    cells[(*it)[1]] = shared.at(static_cast<std::size_t>(std::stoi((*it)[2])));
  }
  EXPECT_EQ(sheet.find("<f>"), std::string::npos) << "no formula in the sheet";
  return cells;
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
      window->setJobColumns(CollectionMode::SellerSearch);
      // GBK cells as the extractors give them.
      window->appendRow({"\xBA\xCB\xCC\xD2 A", "id1", "nick1", "3\xD7\xEA"}, "1");  // 核桃 A, 3钻
      window->appendRow({"=cmd|' /C calc'!A0", "id2", "nick2", "1\xD7\xEA"}, "2");
      window->appendRow({"walnut, \"big\"", "id1", "nick1", "3\xD7\xEA"}, "3");
      window->appendRow({"\tpadded\r\n", "-id3", "n\x01ick3", "x"}, "4");
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
  ASSERT_TRUE(window->exportTo(ExportChoice::Everything, ExportFormat::Csv, wxString::FromUTF8(utf8FromPath(path))));
  EXPECT_EQ(readFile(path),
            "\xEF\xBB\xBF"
            "商品名称,卖家ID,卖家旺旺昵称,信用等级\r\n"
            "核桃 A,id1,nick1,3钻\r\n"
            "'=cmd|' /C calc'!A0,id2,nick2,1钻\r\n"
            "\"walnut, \"\"big\"\"\",id1,nick1,3钻\r\n"
            "padded,'-id3,nick3,x\r\n");
  EXPECT_FALSE(fs::exists(dir / "all.csv.part"));
  ASSERT_EQ(messages.size(), 1u) << "the user is told where the rows went";
}

TEST_F(ExportFromTheList, WritesSellerInformationAsAWorkbookWithoutDuplicates) {
  fillSellerRows();
  const fs::path path = dir / "sellers.xlsx";
  ASSERT_TRUE(window->exportTo(ExportChoice::Sellers, ExportFormat::Xlsx, wxString::FromUTF8(utf8FromPath(path))));
  const auto cells = workbookCells(path);
  const std::map<std::string, std::string> expected{
      {"A1", "卖家ID"}, {"B1", "卖家旺旺昵称"}, {"C1", "信用等级"},
      {"A2", "id1"},    {"B2", "nick1"},        {"C2", "3钻"},
      {"A3", "id2"},    {"B3", "nick2"},        {"C3", "1钻"},
      {"A4", "-id3"},   {"B4", "nick3"},        {"C4", "x"}};
  EXPECT_EQ(cells, expected);
}

TEST_F(ExportFromTheList, WritesEverythingAsAWorkbookWithFormulaTextAsStrings) {
  fillSellerRows();
  const fs::path path = dir / "all.xlsx";
  ASSERT_TRUE(window->exportTo(ExportChoice::Everything, ExportFormat::Xlsx, wxString::FromUTF8(utf8FromPath(path))));
  const auto cells = workbookCells(path);
  EXPECT_EQ(cells.size(), 20u);
  EXPECT_EQ(cells.at("A1"), "商品名称");
  EXPECT_EQ(cells.at("A2"), "核桃 A");
  EXPECT_EQ(cells.at("A3"), "=cmd|' /C calc'!A0");
  EXPECT_EQ(cells.at("A4"), "walnut, \"big\"");
  EXPECT_EQ(cells.at("A5"), "padded");
}

TEST_F(ExportFromTheList, TellsTheUserWhenThereIsNothingOrTheFileCannotBeWritten) {
  EXPECT_FALSE(window->exportTo(ExportChoice::Everything, ExportFormat::Csv, wxString::FromUTF8(utf8FromPath(dir / "e.csv"))));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages.back(), wx(res::kExportNothing));
  EXPECT_FALSE(fs::exists(dir / "e.csv"));
  window->exportList();  // the button says the same before any dialog
  EXPECT_EQ(messages.size(), 2u);

  fillSellerRows();
  for (ExportFormat format : {ExportFormat::Csv, ExportFormat::Xlsx}) {
    messages.clear();
    const fs::path nowhere = dir / "missing-folder" / "out.file";
    EXPECT_FALSE(window->exportTo(ExportChoice::Everything, format, wxString::FromUTF8(utf8FromPath(nowhere))));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages.back().StartsWith(wx(res::kExportFailed))) << messages.back();
    EXPECT_EQ(window->resultList().GetItemCount(), 4);
  }
  // A failed write leaves an existing file as it was.
  const fs::path existing = dir / "keep.csv";
  std::ofstream(existing) << "old";
#ifdef _WIN32
  // A file that another program holds open (a spreadsheet showing it)
  // cannot be replaced; a folder's read-only flag means nothing on Windows.
  const HANDLE held = CreateFileW(existing.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const bool wrote =
      window->exportTo(ExportChoice::Everything, ExportFormat::Csv, wxString::FromUTF8(utf8FromPath(existing)));
  CloseHandle(held);
  const bool writesAnywhere = false;
#else
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  const bool wrote =
      window->exportTo(ExportChoice::Everything, ExportFormat::Csv, wxString::FromUTF8(utf8FromPath(existing)));
  fs::permissions(dir, fs::perms::owner_all);
  const bool writesAnywhere = ::geteuid() == 0;  // root writes anywhere
#endif
  if (!writesAnywhere) {
    EXPECT_FALSE(wrote);
    EXPECT_EQ(readFile(existing), "old");
  }
}

// A folder and a file named in Chinese, as a user picks them in the save
// dialog (D:\采集结果\核桃.xlsx): both formats land under those names.
TEST_F(ExportFromTheList, WritesToAFolderAndFileWithChineseNames) {
  fillSellerRows();
  const fs::path folder = dir / pathFromUtf8("采集结果");
  fs::create_directories(folder);
  for (const char* name : {"核桃.xlsx", "核桃.csv"}) {
    const fs::path path = folder / pathFromUtf8(name);
    const ExportFormat format = path.extension() == ".csv" ? ExportFormat::Csv : ExportFormat::Xlsx;
    ASSERT_TRUE(window->exportTo(ExportChoice::Everything, format, wxString::FromUTF8(utf8FromPath(path)))) << name;
  }
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(utf8FromPath(entry.path().filename()));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"核桃.csv", "核桃.xlsx"}));
  EXPECT_EQ(workbookCells(folder / pathFromUtf8("核桃.xlsx")).at("A2"), "核桃 A");
  EXPECT_NE(readFile(folder / pathFromUtf8("核桃.csv")).find("核桃 A,id1,nick1,3钻\r\n"), std::string::npos);
}

}  // namespace
}  // namespace gleaner::testing
