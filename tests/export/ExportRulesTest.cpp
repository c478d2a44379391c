#include <gtest/gtest.h>

#include "export/CsvExportWriter.h"
#include "export/ExportCell.h"
#include "export/ExportSelection.h"
#include "export/ExportTarget.h"

namespace gleaner::testing {
namespace {

TEST(ExportCells, AreCleanedForAWorkbook) {
  EXPECT_EQ(ExportCell::clean("\t\r\n name \r\n\t"), " name ");
  EXPECT_EQ(ExportCell::clean("a\x01" "b\x1F" "c\td\ne"), "abc\td\ne");
  EXPECT_EQ(ExportCell::clean("\x02\tleading"), "leading") << "dropped first, then trimmed";
  EXPECT_EQ(ExportCell::clean("x\xEF\xBF\xBFy"), "xy") << "U+FFFF";
  EXPECT_EQ(ExportCell::clean("bad\xC3"), "bad\xEF\xBF\xBD");
  EXPECT_EQ(ExportCell::clean("核桃"), "核桃");

  for (const char* formula : {"=1+2", "+SUM(A1)", "-3", "@cmd"}) EXPECT_TRUE(ExportCell::looksLikeFormula(formula));
  for (const char* plain : {"", "a=b", " =1", "12"}) EXPECT_FALSE(ExportCell::looksLikeFormula(plain));

  EXPECT_EQ(CsvExportWriter::field("plain"), "plain");
  EXPECT_EQ(CsvExportWriter::field("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvExportWriter::field("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvExportWriter::field("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(CsvExportWriter::field("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
}

TEST(ExportCells, AreWrittenToAWorkbookAsTypedAndCutOnlyAtItsLimit) {
  bool cut = true;
  EXPECT_EQ(ExportCell::forWorkbook("_x0041_", cut), "_x005F_x0041_");
  EXPECT_FALSE(cut);
  EXPECT_EQ(ExportCell::forWorkbook("a_X00aF_b _x0041_", cut), "a_x005F_X00aF_b _x005F_x0041_");
  for (const char* plain : {"_x004_", "_x00G1_", "x0041_", "_x0041", "__", "核桃_x"}) {
    EXPECT_EQ(ExportCell::forWorkbook(plain, cut), plain);
  }

  constexpr std::size_t max = ExportCell::kMaxWorkbookChars;
  EXPECT_EQ(ExportCell::forWorkbook(std::string(max, 'a'), cut), std::string(max, 'a'));
  EXPECT_FALSE(cut) << "exactly the limit";
  std::string chinese;
  for (std::size_t i = 0; i < max + 10; ++i) chinese += "核";
  const std::string fitted = ExportCell::forWorkbook(chinese, cut);
  EXPECT_TRUE(cut);
  EXPECT_EQ(fitted.size(), max * 3) << "cut by characters, never inside one";
  // An escape is never split: either the underscore and its escape, or neither.
  const std::string nearEnd = std::string(max - 3, 'a') + "_x0041_";
  EXPECT_EQ(ExportCell::forWorkbook(nearEnd, cut), std::string(max - 3, 'a'));
  EXPECT_TRUE(cut);
}

TEST(ExportSelections, SellerInformationIsThePersonColumnsOnce) {
  const ResultRow headings{"h0", "h1", "h2", "h3"};
  const std::vector<ResultRow> rows{
      {"p1", "id1", "nick1", "3\xD7\xEA"}, {"p2", "id2", "nick2", "1\xD7\xEA"}, {"p3", "id1", "nick1", "3\xD7\xEA"},
      {"p4", "id1", "other", "3\xD7\xEA"}, {"p5", "\tid2\r\n", "nick2", "1\xD7\xEA"}};
  const auto take = [&](Job job, ExportChoice choice) {
    ExportSelection selection(job, headings, choice);
    std::vector<std::vector<std::string>> out{selection.headings()};
    std::vector<std::string> cells;
    for (const ResultRow& row : rows) {
      if (selection.take(row, cells)) out.push_back(cells);
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
