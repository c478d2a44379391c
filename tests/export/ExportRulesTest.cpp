#include <gtest/gtest.h>

#include <sstream>

#include "export/CsvExportWriter.h"
#include "export/ExportCell.h"
#include "export/ExportSelection.h"
#include "export/ExportTarget.h"

namespace gleaner::testing {
namespace {

std::string cleaned(std::string_view gbk) { return ExportCell(gbk).text(); }

std::string csvField(std::string_view gbk) {
  std::ostringstream out;
  CsvExportWriter::writeField(out, ExportCell(gbk));
  return out.str();
}

TEST(ExportCells, AreCleanedForAWorkbook) {
  EXPECT_EQ(cleaned("\t\r\n name \r\n\t"), " name ");
  EXPECT_EQ(cleaned("a\x01" "b\x1F" "c\td\ne"), "abc\td\ne");
  EXPECT_EQ(cleaned("\x02\tleading"), "leading") << "dropped first, then trimmed";
  EXPECT_EQ(cleaned("bad\xC3"), "bad\xEF\xBF\xBD");
  EXPECT_EQ(cleaned("\x81\x01\x40"), "\xEF\xBF\xBD@") << "a stray byte stays stray when a control after it goes";
  EXPECT_EQ(cleaned("\xBA\xCB\xCC\xD2"), "核桃");
  EXPECT_TRUE(ExportCell("\t\x01\r\n").empty());

  for (const char* formula : {"=1+2", "+SUM(A1)", "-3", "@cmd", "\t\x01=1"}) {
    EXPECT_TRUE(ExportCell(formula).looksLikeFormula());
  }
  for (const char* plain : {"", "a=b", " =1", "12", "\xBA\x40"}) EXPECT_FALSE(ExportCell(plain).looksLikeFormula());

  EXPECT_EQ(csvField("plain"), "plain");
  EXPECT_EQ(csvField("a,b"), "\"a,b\"");
  EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(csvField("trimmed\r\n"), "trimmed") << "only a line break inside the cell is quoted";
  EXPECT_EQ(csvField("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
}

TEST(ExportCells, AreWrittenToAWorkbookAsTypedAndCutOnlyAtItsLimit) {
  bool cut = true;
  const auto forWorkbook = [&](std::string_view gbk) { return ExportCell(gbk).forWorkbook(cut); };
  EXPECT_EQ(forWorkbook("_x0041_"), "_x005F_x0041_");
  EXPECT_FALSE(cut);
  EXPECT_EQ(forWorkbook("a_X00aF_b _x0041_"), "a_x005F_X00aF_b _x005F_x0041_");
  for (const char* plain : {"_x004_", "_x00G1_", "x0041_", "_x0041", "__", "\xBA\xCB_x"}) {
    EXPECT_EQ(ExportCell(plain).forWorkbook(cut), ExportCell(plain).text());
  }

  constexpr std::size_t max = ExportCell::kMaxWorkbookChars;
  EXPECT_EQ(forWorkbook(std::string(max, 'a') + "\r\n"), std::string(max, 'a'));
  EXPECT_FALSE(cut) << "exactly the limit";
  std::string chinese;
  for (std::size_t i = 0; i < max + 10; ++i) chinese += "\xBA\xCB";  // 核
  const std::string fitted = forWorkbook(chinese);
  EXPECT_TRUE(cut);
  EXPECT_EQ(fitted.size(), max * 3) << "cut by characters, never inside one";
  // An escape is never split: either the underscore and its escape, or neither.
  EXPECT_EQ(forWorkbook(std::string(max - 3, 'a') + "_x0041_"), std::string(max - 3, 'a'));
  EXPECT_TRUE(cut);
}

TEST(ExportSelections, SellerInformationIsThePersonColumnsOnce) {
  const ResultRow headings{"h0", "h1", "h2", "h3"};
  const std::vector<ResultRow> rows{
      {"p1", "id1", "nick1", "3\xD7\xEA"}, {"p2", "id2", "nick2", "1\xD7\xEA"}, {"p3", "id1", "nick1", "3\xD7\xEA"},
      {"p4", "id1", "other", "3\xD7\xEA"}, {"p5", "\tid2\r\n", "nick2", "1\xD7\xEA"}};
  const auto texts = [](const std::vector<ExportCell>& cells) {
    std::vector<std::string> out;
    for (const ExportCell& cell : cells) out.push_back(cell.text());
    return out;
  };
  const auto take = [&](Job job, ExportChoice choice) {
    ExportSelection selection(job, headings, choice);
    std::vector<std::vector<std::string>> out{texts(selection.headings())};
    std::vector<ExportCell> cells;
    for (const ResultRow& row : rows) {
      if (selection.take(row, cells)) out.push_back(texts(cells));
    }
    return out;
  };
  const auto all = take(Job::Sellers, ExportChoice::Everything);
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[0], (std::vector<std::string>{"h0", "h1", "h2", "h3"}));
  EXPECT_EQ(all[5][1], "id2") << "cleaned before comparing and writing";
  EXPECT_EQ(all[1][3], "3钻") << "GBK in, UTF-8 out";

  EXPECT_EQ(take(Job::Sellers, ExportChoice::Sellers),
            (std::vector<std::vector<std::string>>{
                {"h1", "h2", "h3"}, {"id1", "nick1", "3钻"}, {"id2", "nick2", "1钻"}, {"id1", "other", "3钻"}}));
  const auto buyers = take(Job::Buyers, ExportChoice::Sellers);
  EXPECT_EQ(buyers.front(), (std::vector<std::string>{"h1", "h2"}));
  EXPECT_EQ(buyers.size(), 4u);
}

TEST(ExportTargets, FollowTheTypedExtensionElseAddTheChosenOne) {
  auto target = ExportTarget::resolve("out/x.csv", ExportFormat::Xlsx);
  EXPECT_EQ(target.format, ExportFormat::Csv);
  EXPECT_EQ(target.path, "out/x.csv");
  EXPECT_FALSE(target.extensionAdded);
  target = ExportTarget::resolve("x.XLSX", ExportFormat::Csv);
  EXPECT_EQ(target.format, ExportFormat::Xlsx);
  EXPECT_FALSE(target.extensionAdded);
  target = ExportTarget::resolve("采集结果", ExportFormat::Csv);
  EXPECT_EQ(target.path, "采集结果.csv");
  EXPECT_TRUE(target.extensionAdded);
  target = ExportTarget::resolve("report.txt", ExportFormat::Xlsx);
  EXPECT_EQ(target.path, "report.txt.xlsx");
  target = ExportTarget::resolve("dir.csv/name", ExportFormat::Xlsx);
  EXPECT_EQ(target.path, "dir.csv/name.xlsx") << "only the file name counts";

  EXPECT_EQ(ExportTarget::switchExtension("采集结果.xlsx", ExportFormat::Csv), "采集结果.csv");
  EXPECT_EQ(ExportTarget::switchExtension("a.CSV", ExportFormat::Xlsx), "a.xlsx");
  EXPECT_EQ(ExportTarget::switchExtension("notes", ExportFormat::Csv), "notes");
  EXPECT_EQ(ExportTarget::switchExtension("notes.txt", ExportFormat::Csv), "notes.txt");
}

}  // namespace
}  // namespace gleaner::testing
