#include "search/SearchBook.h"

#include "FakeExcel.h"
#include "automation/Texcel.h"
#include "storage/Exception.h"

#include <gtest/gtest.h>

namespace {

using fake::Book;
using fake::Cell;
using fake::Sheet;

class SearchBookTest : public testing::Test {
protected:
    void SetUp() override {
        fake_ = fake::FakeExcel::Install();
        excel_ = TExcel::CreateObject();
        ASSERT_TRUE(excel_);
    }
    void TearDown() override { fake::FakeExcel::Uninstall(); }

    std::vector<ResultRow> Search(const QString& path, const SearchConditions& conditions = {}) {
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

    std::shared_ptr<fake::FakeExcel> fake_;
    std::unique_ptr<TExcel> excel_;
};

TEST_F(SearchBookTest, OneMatchMakesOneCompleteRowAndEndsAtTheRepeat) {
    fake_->books["/b/one.xlsx"] = Book{{Sheet{"売上", {Cell{28, 7, "1,200", "=A1*2", ""}}}}};
    const std::vector<ResultRow> rows = Search("/b/one.xlsx");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (ResultRow{"/b/one.xlsx", "1", "売上", "AB", "7", "1,200", "=A1*2", ""}));
    const QStringList expected = {
        "Workbooks", "Open /b/one.xlsx", "WorkSheets", "Count",  "WorkSheets", "item",
        "Name",      "UsedRange",        "Find",       "Column", "Row",        "Text",
        "Formula",   "Comment",          "FindNext",   "Column", "Row",        "Close"};
    EXPECT_EQ(fake_->log, expected);
}

TEST_F(SearchBookTest, TwoMatchesAreListedInFindOrderWithComments) {
    fake_->books["/b/two.xls"] =
        Book{{Sheet{"S", {Cell{3, 9, "b", "b", "note"}, Cell{1, 2, "a", "a", ""}}}}};
    const std::vector<ResultRow> rows = Search("/b/two.xls");
    EXPECT_EQ(Cells(rows), (QStringList{"1:S!C9", "1:S!A2"}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Comment, "note");
    EXPECT_EQ(rows[1].Comment, "");
    EXPECT_EQ(fake_->log.count("Text"), 3);  // two cells, one comment
}

TEST_F(SearchBookTest, SheetsWithoutHitsKeepTheirNumbers) {
    fake_->books["/b/three.csv"] = Book{{Sheet{"first", {Cell{1, 1}}}, Sheet{"empty", {}},
                                         Sheet{"third", {Cell{2, 2}, Cell{2, 3}}}}};
    EXPECT_EQ(Cells(Search("/b/three.csv")),
              (QStringList{"1:first!A1", "3:third!B2", "3:third!B3"}));
    EXPECT_EQ(fake_->openWorkbooks, 0);
}

TEST_F(SearchBookTest, NoMatchOrNoSheetsStillClosesTheWorkbook) {
    fake_->books["/b/none.xlsx"] = Book{{Sheet{"S", {}}}};
    fake_->books["/b/zero.xlsx"] = Book{};
    EXPECT_TRUE(Search("/b/none.xlsx").empty());
    EXPECT_TRUE(Search("/b/zero.xlsx").empty());
    EXPECT_EQ(fake_->log.count("Close"), 2);
    EXPECT_EQ(fake_->openWorkbooks, 0);
}

TEST_F(SearchBookTest, ErrorInThirdSheetKeepsEarlierRowsAndClosesTheWorkbook) {
    Sheet broken{"bad", {Cell{1, 1}}};
    broken.failOnFind = true;
    fake_->books["/b/err.xlsx"] = Book{
        {Sheet{"a", {Cell{1, 1}}}, Sheet{"b", {Cell{2, 1}}}, broken, Sheet{"d", {Cell{1, 1}}}}};
    std::vector<ResultRow> rows;
    try {
        SearchBook(*excel_, "/b/err.xlsx", {},
                   [&rows](const ResultRow& row) { rows.push_back(row); });
        FAIL() << "the error was swallowed";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "find failed in bad");
    }
    EXPECT_EQ(Cells(rows), (QStringList{"1:a!A1", "2:b!B1"}));
    EXPECT_EQ(fake_->log.last(), "Close");
    EXPECT_EQ(fake_->openWorkbooks, 0);
}

TEST_F(SearchBookTest, OpenFailureLetsTheErrorOutWithoutClosing) {
    EXPECT_THROW(Search("/b/missing.xlsx"), Exception);
    EXPECT_FALSE(fake_->log.contains("Close"));
}

struct FindCase {
    int findLookIn;
    int searchOrder;
    bool lookAt;
    bool matchCase;
    bool matchByte;
    int lookInArg;
    int lookAtArg;
    int orderArg;
};

class SearchBookFindTest : public SearchBookTest, public testing::WithParamInterface<FindCase> {};

TEST_P(SearchBookFindTest, PassesTheConditionsToFind) {
    const FindCase& c = GetParam();
    fake_->books["/b/f.xlsx"] = Book{{Sheet{"S", {}}}};
    SearchConditions conditions;
    conditions.Word = " 検索 *";
    conditions.FindLookIn = c.findLookIn;
    conditions.SearchOrder = c.searchOrder;
    conditions.LookAt = c.lookAt;
    conditions.MatchCase = c.matchCase;
    conditions.MatchByte = c.matchByte;
    Search("/b/f.xlsx", conditions);

    const std::vector<Variant>& args = fake_->findArgs;
    ASSERT_EQ(args.size(), 8u);
    EXPECT_EQ(args[0].ToString(), " 検索 *");
    EXPECT_EQ(args[1].Type(), VariantType::Error);
    EXPECT_EQ(args[1].ErrorCode(), DispEParamNotFound);
    EXPECT_EQ(args[2].ToInt(), c.lookInArg);
    EXPECT_EQ(args[3].ToInt(), c.lookAtArg);
    EXPECT_EQ(args[4].ToInt(), c.orderArg);
    EXPECT_EQ(args[5].ToInt(), 1);
    EXPECT_EQ(args[6].Type(), VariantType::Bool);
    EXPECT_EQ(args[6].ToBool(), c.matchCase);
    EXPECT_EQ(args[7].ToBool(), c.matchByte);
}

INSTANTIATE_TEST_SUITE_P(Table, SearchBookFindTest,
                         testing::Values(FindCase{0, 0, false, false, true, -4123, 2, 1},
                                         FindCase{1, 1, true, true, false, -4163, 1, 2},
                                         FindCase{2, 0, true, false, false, -4144, 1, 1}));

}  // namespace
