// The workbook search against the embedded engine, on files the tests write.
#include "search/SearchBook.h"

#include "automation/AutomationObject.h"
#include "automation/Texcel.h"
#include "engine/EngineServer.h"
#include "storage/Exception.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

class SearchBookEngineTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        engine::RegisterEngine();
        excel_ = TExcel::CreateObject();
        ASSERT_TRUE(excel_);
    }
    void TearDown() override {
        if (excel_) {
            excel_->Quit();
        }
        AutomationRegistry::Unregister("Excel.Application");
    }

    QString WriteFile(const QString& name, const QByteArray& content) {
        const QString path = dir_.path() + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    // Sheets "one" (hits at B2 and A5), "none" (no hit) and "three" (a hit with a comment).
    QString WriteBook() {
        const QString path = dir_.path() + "/三枚.xlsx";
        lxw_workbook* book = workbook_new(path.toUtf8().constData());
        lxw_worksheet* one = workbook_add_worksheet(book, "one");
        worksheet_write_string(one, 1, 1, "needle a", nullptr);
        worksheet_write_string(one, 4, 0, "x needle", nullptr);
        worksheet_write_string(one, 2, 2, "hay", nullptr);
        lxw_worksheet* none = workbook_add_worksheet(book, "none");
        worksheet_write_string(none, 0, 0, "hay", nullptr);
        lxw_worksheet* three = workbook_add_worksheet(book, "three");
        worksheet_write_string(three, 0, 0, "hay", nullptr);
        worksheet_write_string(three, 2, 3, "NEEDLE", nullptr);
        worksheet_write_comment(three, 2, 3, "見て");
        EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
        return path;
    }

    std::vector<ResultRow> Search(const QString& path, const SearchConditions& conditions) {
        std::vector<ResultRow> rows;
        SearchBook(*excel_, path, conditions,
                   [&rows](const ResultRow& row) { rows.push_back(row); });
        return rows;
    }

    static QStringList Cells(const std::vector<ResultRow>& rows) {
        QStringList cells;
        for (const ResultRow& row : rows) {
            cells.append(row.SheetNumber + ":" + row.SheetName + "!" + row.Column + row.Row);
        }
        return cells;
    }

    QTemporaryDir dir_{testsupport::ScratchDir() + "/engine-XXXXXX"};
    std::unique_ptr<TExcel> excel_;
};

SearchConditions Needle() {
    SearchConditions conditions;
    conditions.Word = "needle";
    return conditions;
}

TEST_F(SearchBookEngineTest, CsvWithOneMatchOrNone) {
    const QString path = WriteFile("one.csv", "hay,needle in hay\nhay,hay\n");
    const std::vector<ResultRow> rows = Search(path, Needle());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0],
              (ResultRow{path, "1", "one", "B", "1", "needle in hay", "needle in hay", ""}));
    EXPECT_TRUE(Search(WriteFile("none.csv", "hay\n"), Needle()).empty());
}

TEST_F(SearchBookEngineTest, SheetsAreSearchedInOrderAndNumberedWithoutGaps) {
    const QString path = WriteBook();
    const std::vector<ResultRow> rows = Search(path, Needle());
    EXPECT_EQ(Cells(rows), (QStringList{"1:one!B2", "1:one!A5", "3:three!D3"}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].Text, "NEEDLE");
    EXPECT_EQ(rows[2].Comment, "見て");
    EXPECT_EQ(rows[0].Comment, "");
}

TEST_F(SearchBookEngineTest, ConditionsChangeWhatAndInWhichOrder) {
    const QString path = WriteBook();
    SearchConditions byColumns = Needle();
    byColumns.SearchOrder = 1;
    EXPECT_EQ(Cells(Search(path, byColumns)), (QStringList{"1:one!A5", "1:one!B2", "3:three!D3"}));

    SearchConditions matchCase = Needle();
    matchCase.MatchCase = true;
    EXPECT_EQ(Cells(Search(path, matchCase)), (QStringList{"1:one!B2", "1:one!A5"}));

    SearchConditions whole = Needle();
    whole.LookAt = true;
    EXPECT_EQ(Cells(Search(path, whole)), QStringList{"3:three!D3"});

    SearchConditions comments;
    comments.Word = "見";
    comments.FindLookIn = 2;
    EXPECT_EQ(Cells(Search(path, comments)), QStringList{"3:three!D3"});
}

TEST_F(SearchBookEngineTest, UnreadableWorkbookRaisesTheProgramsError) {
    const QString path = WriteFile("broken.xlsx", "PK\x03\x04 truncated");
    try {
        Search(path, Needle());
        FAIL() << "no error for a broken workbook";
    } catch (const Exception& error) {
        EXPECT_TRUE(error.Message().contains("broken.xlsx")) << error.Message().toStdString();
    }
    // The application is still usable for the next workbook.
    EXPECT_EQ(Search(WriteFile("after.csv", "needle\n"), Needle()).size(), 1u);
}

}  // namespace
