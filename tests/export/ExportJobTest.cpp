#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "export/ExportCell.h"
#include "export/ExportJob.h"
#include "export/ExportReport.h"
#include "export/ModelExportSource.h"
#include "export/StoreExportSource.h"
#include "res/AppTexts.h"
#include "store/ResultModel.h"
#include "store/StoreWriter.h"
#include "support/FileSizeLimit.h"
#include "support/WorkbookCells.h"
#include "text/PathText.h"

namespace gleaner::testing {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ExportJobs : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder named in Chinese, as a user picks one (D:\采集结果\).
    dir = fs::temp_directory_path() /
          pathFromUtf8("gleaner-采集结果-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    model.setJob(Job::Sellers, {"\xC9\xCC\xC6\xB7\xC3\xFB\xB3\xC6", "ID", "nick", "level"});  // 商品名称
  }
  void TearDown() override { fs::remove_all(dir); }

  std::vector<fs::path> filesInDir() const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path().filename());
    return files;
  }

  fs::path dir;
  ResultModel model;
};

TEST_F(ExportJobs, AWorkbookShowsEscapeLikeTextAsTypedAndCutsOnlyWithAWarning) {
  const std::string longCell(40000, 'L');
  model.append({"_x0041_", "id1", "n", "l"});
  model.append({longCell, "id2", "n", "l"});
  ModelExportSource source(model);
  const fs::path xlsx = dir / "out.xlsx";
  const ExportResult result = ExportJob::run(source, {ExportChoice::Everything, ExportFormat::Xlsx, xlsx});
  ASSERT_EQ(result.outcome, ExportResult::Outcome::Written) << result.error;
  EXPECT_EQ(result.rows, 2u);
  EXPECT_EQ(result.cutCells, 1u);
  const auto cells = workbookCells(xlsx);
  EXPECT_EQ(cells.at("A1"), "商品名称");
  EXPECT_EQ(cells.at("A2"), "_x005F_x0041_") << "a reader turns this back into _x0041_";
  EXPECT_EQ(cells.at("A3"), std::string(ExportCell::kMaxWorkbookChars, 'L'));
  EXPECT_EQ(workbookSheet(xlsx).find("<f>"), std::string::npos) << "no formula in the sheet";

  const std::string report = exportReport(result, "out.xlsx");
  EXPECT_EQ(report, "已导出 2 行到：out.xlsx\n注意：有 1 个单元格超过 Excel 单元格能存的 32767 个字符，已截断。"
                    "需要全文请导出为 CSV 文件。");

  // CSV keeps the whole cell, and the text as it is.
  ModelExportSource again(model);
  const fs::path csv = dir / "out.csv";
  const ExportResult csvResult = ExportJob::run(again, {ExportChoice::Everything, ExportFormat::Csv, csv});
  ASSERT_EQ(csvResult.outcome, ExportResult::Outcome::Written);
  EXPECT_EQ(csvResult.cutCells, 0u);
  EXPECT_EQ(readBytes(csv), "\xEF\xBB\xBF商品名称,ID,nick,level\r\n_x0041_,id1,n,l\r\n" + longCell + ",id2,n,l\r\n");
  EXPECT_EQ(exportReport(csvResult, "out.csv"), "已导出 2 行到：out.csv");
}

TEST_F(ExportJobs, ACancelledOrFailedExportLeavesNoFileAndTheTargetAsItWas) {
  for (int i = 0; i < 5000; ++i) model.append({"p" + std::to_string(i), "id", "n", "l"});
  for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Xlsx}) {
    const fs::path target = dir / (format == ExportFormat::Csv ? "t.csv" : "t.xlsx");
    std::ofstream(target) << "earlier";
    ModelExportSource source(model);
    std::vector<std::size_t> steps;
    const ExportResult result = ExportJob::run(source, {ExportChoice::Everything, format, target},
                                               [&](std::size_t done, std::size_t total) {
                                                 EXPECT_EQ(total, 5000u);
                                                 steps.push_back(done);
                                                 return done < 4000;
                                               });
    EXPECT_EQ(result.outcome, ExportResult::Outcome::Cancelled);
    EXPECT_EQ(steps, (std::vector<std::size_t>{2000, 4000}));
    EXPECT_EQ(readBytes(target), "earlier");
    EXPECT_EQ(exportReport(result, "t"), "导出已取消，没有写入任何文件。");
  }
  EXPECT_EQ(filesInDir(), (std::vector<fs::path>{"t.csv", "t.xlsx"})) << "no partial file";

  // A folder that is not there: reported with the library's text last.
  ModelExportSource source(model);
  const ExportResult failed =
      ExportJob::run(source, {ExportChoice::Everything, ExportFormat::Xlsx, dir / "missing" / "t.xlsx"});
  EXPECT_EQ(failed.outcome, ExportResult::Outcome::Failed);
  EXPECT_FALSE(failed.error.empty());
  const std::string report = exportReport(failed, "t.xlsx");
  EXPECT_EQ(report.substr(0, report.find('\n')), std::string(res::kExportFailed) + "t.xlsx");
  EXPECT_EQ(report.substr(report.rfind('\n') + 1), failed.error);

  // A list emptied while it is exported fails the export instead of mixing lists.
  ModelExportSource stale(model);
  model.clear();
  EXPECT_EQ(ExportJob::run(stale, {ExportChoice::Everything, ExportFormat::Csv, dir / "stale.csv"}).outcome,
            ExportResult::Outcome::Failed);
  EXPECT_FALSE(fs::exists(dir / "stale.csv"));
  ModelExportSource empty(model);
  EXPECT_EQ(ExportJob::run(empty, {ExportChoice::Everything, ExportFormat::Csv, dir / "e.csv"}).outcome,
            ExportResult::Outcome::Nothing);
  EXPECT_FALSE(fs::exists(dir / "e.csv"));
}

// A write that fails, in the rows' temporary file or later while the
// workbook is packed, fails the export: the target stays as it was and no
// partial file is left. A file size limit fails writes as a full disk does.
TEST_F(ExportJobs, AWriteErrorFailsTheExportAndLeavesTheTargetAsItWas) {
  for (int i = 0; i < 3000; ++i) model.append({"product " + std::to_string(i), "id", "nick", "level"});
  const fs::path target = dir / "t.xlsx";
  ModelExportSource whole(model);
  ASSERT_EQ(ExportJob::run(whole, {ExportChoice::Everything, ExportFormat::Xlsx, target}).outcome,
            ExportResult::Outcome::Written);
  const std::string sheet = workbookSheet(target);
  const std::size_t rowBytes = sheet.find("</sheetData>") - sheet.find("<sheetData>") - 11;
  std::ofstream(target, std::ios::binary | std::ios::trunc) << "earlier";

  // Half the rows fit; then all of them, but not the sheet packed around them.
  for (const std::size_t limit : {rowBytes / 2, rowBytes + 10}) {
    SCOPED_TRACE(limit);
    ModelExportSource source(model);
    ExportResult result;
    {
      FileSizeLimit cap(limit);
      if (!cap.active()) GTEST_SKIP() << "no file size limit here";
      result = ExportJob::run(source, {ExportChoice::Everything, ExportFormat::Xlsx, target});
    }
    EXPECT_EQ(result.outcome, ExportResult::Outcome::Failed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(readBytes(target), "earlier");
    EXPECT_EQ(filesInDir(), std::vector<fs::path>{"t.xlsx"}) << "no partial file";
  }
}

TEST_F(ExportJobs, AStoresListExportsExactlyAsTheListInMemory) {
  const fs::path store = dir / "results.sqlite";
  {
    StoreWriter writer(store);
    model.attachStore(&writer);
    model.clear();
    model.append({"\xBA\xCB\xCC\xD2\t\r\n", "90084618\t", "nick,1", "=x"});
    model.append({"b", "90084618", "nick,1", "y"});
    model.append({"c", "id3", "", "z"});
    model.detachStore();
    writer.close(true);
  }
  for (const ExportChoice choice : {ExportChoice::Everything, ExportChoice::Sellers}) {
    ModelExportSource fromMemory(model);
    StoreExportSource fromStore(store);
    ASSERT_EQ(ExportJob::run(fromMemory, {choice, ExportFormat::Csv, dir / "memory.csv"}).outcome,
              ExportResult::Outcome::Written);
    ASSERT_EQ(ExportJob::run(fromStore, {choice, ExportFormat::Csv, dir / "store.csv"}).outcome,
              ExportResult::Outcome::Written);
    EXPECT_EQ(readBytes(dir / "store.csv"), readBytes(dir / "memory.csv"));
  }
  EXPECT_EQ(readBytes(dir / "store.csv"), "\xEF\xBB\xBFID,nick,level\r\n90084618,\"nick,1\",'=x\r\nid3,,z\r\n");
}

}  // namespace
}  // namespace gleaner::testing
