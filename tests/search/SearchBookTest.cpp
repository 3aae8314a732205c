#include "search/SearchBook.h"

#include "FakeExcel.h"
#include "automation/Texcel.h"
#include "storage/Exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

namespace {

class SearchBookTest : public testing::Test {
protected:
    void SetUp() override {
        excel_ = TExcel::CreateObject(servers_);
        ASSERT_TRUE(excel_);
    }

    QStringList Search(const QString& path, const SearchConditions& conditions = {}) {
        QStringList cells;
        SearchBook(*excel_, path, conditions, [&](const ResultRow& row) {
            rows_.push_back(row);
            cells.append(row.SheetNumber + ":" + row.SheetName + "!" + row.Column + row.Row);
        });
        return cells;
    }

    AutomationRegistry servers_;
    std::shared_ptr<fake::FakeExcel> fake_ = fake::FakeExcel::Install(servers_);
    std::unique_ptr<TExcel> excel_;
    std::vector<ResultRow> rows_;
};

TEST_F(SearchBookTest, OneMatchEndsAtTheRepeatedCell) {
    fake_->books["/b/one.xlsx"] = {{"売上", {{28, 7, "1,200"}}}};
    EXPECT_EQ(Search("/b/one.xlsx"), QStringList{"1:売上!AB7"});
    EXPECT_EQ(rows_.at(0),
              (ResultRow{"/b/one.xlsx", "1", "売上", "AB", "7", "1,200", "1,200", ""}));
    EXPECT_EQ(fake_->log,
              (QStringList{"Workbooks", "Open /b/one.xlsx", "WorkSheets", "Count", "WorkSheets",
                           "item", "Name", "UsedRange", "Find", "Column", "Row", "Text", "Formula",
                           "Comment", "FindNext", "Column", "Row", "Close"}));
}

TEST_F(SearchBookTest, HitsInFindOrderSheetByNumberedSheet) {
    fake_->books["/b/three.xls"] = {
        {"a", {{3, 9, "x", "note"}, {1, 2}}}, {"empty", {}}, {"c", {{2, 2}}}};
    fake_->books["/b/zero.xls"] = {};
    EXPECT_EQ(Search("/b/three.xls"), (QStringList{"1:a!C9", "1:a!A2", "3:c!B2"}));
    EXPECT_EQ(rows_.at(0).Comment, "note");
    EXPECT_EQ(rows_.at(1).Comment, "");
    EXPECT_TRUE(Search("/b/zero.xls").isEmpty());
    EXPECT_EQ(fake_->log.count("Close"), 2);
    EXPECT_EQ(fake_->openBooks, 0);
}

TEST_F(SearchBookTest, ErrorInThirdSheetKeepsEarlierRowsAndCloses) {
    fake_->books["/b/err.xlsx"] = {{"a", {{1, 1}}}, {"b", {{2, 1}}}, {"bad", {{1, 1}}, true}};
    QStringList cells;
    try {
        SearchBook(*excel_, "/b/err.xlsx", {},
                   [&](const ResultRow& row) { cells << row.SheetName; });
        ADD_FAILURE() << "the error was swallowed";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "find failed in bad");
    }
    EXPECT_EQ(cells, (QStringList{"a", "b"}));
    EXPECT_EQ(fake_->log.last(), "Close");
    EXPECT_EQ(fake_->openBooks, 0);
    EXPECT_THROW(Search("/b/missing.xlsx"), Exception);
    EXPECT_EQ(fake_->log.last(), "Open /b/missing.xlsx");  // nothing to close
}

// Memory can run out in the engine or in the sink that prints or lists the rows: either way
// the book is closed and the run gets an error it can report, never a terminate.
TEST_F(SearchBookTest, RunningOutOfMemoryIsTheBooksErrorAndClosesIt) {
    fake_->books["/b/big.xlsx"] = {{"a", {{1, 1}, {2, 1}}}};
    const std::function<void()> failures[] = {[] { throw std::bad_alloc(); },
                                              [] { throw std::length_error("vector"); }};
    for (const auto& fail : failures) {
        try {
            SearchBook(*excel_, "/b/big.xlsx", {}, [&](const ResultRow&) { fail(); });
            ADD_FAILURE() << "no error";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), "ファイル「/b/big.xlsx」は大きすぎるため検索できません。");
        }
        EXPECT_EQ(fake_->log.last(), "Close");
        EXPECT_EQ(fake_->openBooks, 0);
    }
}

TEST_F(SearchBookTest, PassesTheConditionsToFind) {
    fake_->books["/b/f.xlsx"] = {{"S", {}}};
    SearchConditions conditions;
    conditions.Word = " 検索 *";
    conditions.FindLookIn = 1;
    conditions.SearchOrder = 1;
    conditions.LookAt = true;
    conditions.MatchCase = true;
    conditions.MatchByte = false;
    Search("/b/f.xlsx", conditions);
    const std::vector<Variant>& args = fake_->findArgs;
    ASSERT_EQ(args.size(), 8u);
    EXPECT_EQ(args[0].ToString(), " 検索 *");
    EXPECT_EQ(args[1].ErrorCode(), DispEParamNotFound);
    EXPECT_EQ(
        (std::vector<int>{args[2].ToInt(), args[3].ToInt(), args[4].ToInt(), args[5].ToInt()}),
        (std::vector<int>{-4163, 1, 2, 1}));
    EXPECT_EQ(args[6].Type(), VariantType::Bool);
    EXPECT_TRUE(args[6].ToBool());
    EXPECT_FALSE(args[7].ToBool());
}

}  // namespace
