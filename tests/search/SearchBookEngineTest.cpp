// The workbook search against the embedded engine, on a workbook the test writes.
#include "search/SearchBook.h"

#include "automation/Texcel.h"
#include "engine/EngineServer.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <QTemporaryDir>

namespace {

TEST(SearchBookEngineTest, FindsHitsSheetBySheetInRowOrder) {
    QTemporaryDir dir(testsupport::ScratchDir() + "/engine-XXXXXX");
    const QString path = dir.path() + "/三枚.xlsx";
    lxw_workbook* book = workbook_new(path.toUtf8().constData());
    lxw_worksheet* one = workbook_add_worksheet(book, "one");
    worksheet_write_string(one, 4, 0, "x needle", nullptr);
    worksheet_write_string(one, 1, 1, "needle a", nullptr);
    worksheet_write_string(workbook_add_worksheet(book, "none"), 0, 0, "hay", nullptr);
    lxw_worksheet* three = workbook_add_worksheet(book, "three");
    worksheet_write_string(three, 2, 3, "NEEDLE", nullptr);
    worksheet_write_comment(three, 2, 3, "見て");
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

    engine::RegisterEngine();
    const std::unique_ptr<TExcel> excel = TExcel::CreateObject();
    ASSERT_TRUE(excel);
    SearchConditions conditions;
    conditions.Word = "needle";
    std::vector<ResultRow> rows;
    SearchBook(*excel, path, conditions, [&rows](const ResultRow& row) { rows.push_back(row); });
    excel->Quit();

    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (ResultRow{path, "1", "one", "B", "2", "needle a", "needle a", ""}));
    EXPECT_EQ(rows[1].Column + rows[1].Row, "A5");
    EXPECT_EQ(rows[2], (ResultRow{path, "3", "three", "D", "3", "NEEDLE", "NEEDLE", "見て"}));
}

}  // namespace
