// Find order over hand-made sheets: the cycle starts after the range's top-left cell, runs by
// rows or by columns, wraps, and a caller that stops at the first repeated cell gets every
// match once.
#include "engine/find/RangeFinder.h"

#include "tests/engine/model/MemoryBook.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using engine::CellPosition;
using engine::CellRect;
using engine::FindOptions;
using engine::LookIn;

// Cell names in the order Find then FindNext deliver them, stopping at the first repeat.
std::vector<QString> Chain(engine::Workbook& book, int sheetIndex, const CellRect& rect,
                           const FindOptions& options) {
    const engine::RangeFinder finder(book, book.Sheet(sheetIndex), rect, options);
    std::vector<QString> names;
    std::set<std::pair<int, int>> seen;
    auto current = finder.Next({rect.top, rect.left});
    while (current && seen.insert({current->row, current->column}).second) {
        names.push_back(QChar(u'A' + current->column - 1) + QString::number(current->row));
        current = finder.Next(*current);
    }
    return names;
}

FindOptions Options(const char* what, bool byColumns = false, bool whole = false) {
    FindOptions options;
    options.what = QString::fromUtf8(what);
    options.byColumns = byColumns;
    options.whole = whole;
    return options;
}

std::vector<QString> Names(std::initializer_list<const char*> names) {
    std::vector<QString> result;
    for (const char* n : names) {
        result.push_back(QString::fromLatin1(n));
    }
    return result;
}

class RangeFinderTest : public testing::Test {
protected:
    // Matching cells A1, C1, B2 in A1:C3.
    std::shared_ptr<engine::Workbook> book_ = testbook::Make({testbook::Grid({
        {"x1", "-", "x2"},
        {"-", "x3", "-"},
        {"-", "-", "-"},
    })});
    const CellRect all_{1, 1, 3, 3};
};

TEST_F(RangeFinderTest, ByRowsTopLeftComesLast) {
    EXPECT_EQ(Chain(*book_, 0, all_, Options("x")), Names({"C1", "B2", "A1"}));
}

TEST_F(RangeFinderTest, ByColumnsTopLeftComesLast) {
    EXPECT_EQ(Chain(*book_, 0, all_, Options("x", true)), Names({"B2", "C1", "A1"}));
}

TEST_F(RangeFinderTest, NextWrapsAroundFromTheLastMatch) {
    const engine::RangeFinder finder(*book_, book_->Sheet(0), all_, Options("x"));
    const auto next = finder.Next({3, 3});
    ASSERT_TRUE(next);
    EXPECT_EQ(next->row, 1);
    EXPECT_EQ(next->column, 1);
    EXPECT_EQ(finder.MatchCount(), 3u);
}

TEST_F(RangeFinderTest, OneMatchComesBackToItself) {
    const engine::RangeFinder finder(*book_, book_->Sheet(0), all_, Options("x3"));
    const auto first = finder.Next({1, 1});
    ASSERT_TRUE(first);
    const auto again = finder.Next(*first);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->row, 2);
    EXPECT_EQ(again->column, 2);
}

TEST_F(RangeFinderTest, NoMatchGivesNothing) {
    const engine::RangeFinder finder(*book_, book_->Sheet(0), all_, Options("zzz"));
    EXPECT_FALSE(finder.Next({1, 1}));
}

TEST_F(RangeFinderTest, OnlyCellsInsideTheRectangleCount) {
    EXPECT_EQ(Chain(*book_, 0, CellRect{2, 2, 3, 3}, Options("x")), Names({"B2"}));
    EXPECT_EQ(Chain(*book_, 0, CellRect{1, 2, 1, 3}, Options("x")), Names({"C1"}));
}

TEST_F(RangeFinderTest, PreviousRunsBackwardsFromTheTopLeft) {
    FindOptions options = Options("x");
    options.previous = true;
    EXPECT_EQ(Chain(*book_, 0, all_, options), Names({"B2", "C1", "A1"}));
}

TEST(RangeFinderOrder, RangeNotStartingAtA1StartsAfterItsOwnCorner) {
    // Data only in B2:C3: the cycle begins after B2, so B2 is found last.
    auto book = testbook::Make({testbook::Grid({{"k", "k"}, {"k", "k"}}, 2, 2)});
    engine::Worksheet& sheet = book->Sheet(0);
    EXPECT_EQ(sheet.UsedRange().top, 2);
    EXPECT_EQ(sheet.UsedRange().left, 2);
    EXPECT_EQ(Chain(*book, 0, sheet.UsedRange(), Options("k")), Names({"C2", "B3", "C3", "B2"}));
    EXPECT_EQ(Chain(*book, 0, sheet.UsedRange(), Options("k", true)),
              Names({"B3", "C2", "C3", "B2"}));
}

// What each LookIn compares, on one sheet holding every kind of content.
class LookInTest : public testing::Test {
protected:
    void SetUp() override {
        book_ = testbook::Make({[](engine::Workbook& book, engine::Worksheet& sheet) {
            sheet.AddCell(testbook::Number(book, 1, 1, 1234.5, QStringLiteral("#,##0.00")));
            engine::Cell formula = testbook::Number(book, 1, 2, 6);
            formula.formula = book.AddString(QStringLiteral("SUM(A2:A3)"));
            sheet.AddCell(formula);
            engine::Cell boolean;
            boolean.row = 1;
            boolean.column = 3;
            boolean.type = engine::CellType::Boolean;
            boolean.number = 1;
            sheet.AddCell(boolean);
            engine::Cell error;
            error.row = 2;
            error.column = 1;
            error.type = engine::CellType::Error;
            error.text = book.AddString(QStringLiteral("#N/A"));
            sheet.AddCell(error);
            sheet.AddCell(testbook::Text(book, 2, 2, QStringLiteral("メモあり")));
            engine::Cell blank;
            blank.row = 2;
            blank.column = 3;
            sheet.AddCell(blank);
            sheet.AddNote({2, 2, QStringLiteral("山田:\n確認済み")});
            sheet.AddNote({3, 3, QStringLiteral("空のセルのメモ")});
        }});
    }

    std::vector<QString> Find(const char* what, LookIn lookIn, bool whole = false) {
        FindOptions options = Options(what, false, whole);
        options.lookIn = lookIn;
        engine::Worksheet& sheet = book_->Sheet(0);
        return Chain(*book_, 0, sheet.UsedRange(), options);
    }

    std::shared_ptr<engine::Workbook> book_;
};

TEST_F(LookInTest, FormulasCompareTheEditText) {
    EXPECT_EQ(Find("1234.5", LookIn::Formulas, true), Names({"A1"}));
    EXPECT_EQ(Find("1,234", LookIn::Formulas), Names({}));
    EXPECT_EQ(Find("=SUM(", LookIn::Formulas), Names({"B1"}));
    EXPECT_EQ(Find("6", LookIn::Formulas, true), Names({}));
    EXPECT_EQ(Find("TRUE", LookIn::Formulas, true), Names({"C1"}));
    EXPECT_EQ(Find("#N/A", LookIn::Formulas), Names({"A2"}));
}

TEST_F(LookInTest, ValuesCompareTheDisplayedText) {
    EXPECT_EQ(Find("1,234.50", LookIn::Values, true), Names({"A1"}));
    EXPECT_EQ(Find("1234.5", LookIn::Values), Names({}));
    EXPECT_EQ(Find("6", LookIn::Values, true), Names({"B1"}));
    EXPECT_EQ(Find("SUM", LookIn::Values), Names({}));
    EXPECT_EQ(Find("true", LookIn::Values, true), Names({"C1"}));
}

TEST_F(LookInTest, EmptyAndBlankCellsNeverMatch) {
    // Cells: A1 B1 C1 A2 B2 (C2 is formatted but empty).
    EXPECT_EQ(Find("*", LookIn::Values), Names({"B1", "C1", "A2", "B2", "A1"}));
    EXPECT_EQ(Find("*", LookIn::Formulas), Names({"B1", "C1", "A2", "B2", "A1"}));
}

TEST_F(LookInTest, CommentsCompareOnlyNoteText) {
    EXPECT_EQ(Find("確認", LookIn::Comments), Names({"B2"}));
    EXPECT_EQ(Find("メモ", LookIn::Comments), Names({"C3"}));  // a note on an empty cell
    EXPECT_EQ(Find("山田:\n確認済み", LookIn::Comments, true), Names({"B2"}));
    EXPECT_EQ(Find("*", LookIn::Comments), Names({"B2", "C3"}));
}

}  // namespace

namespace {

// General numbers are skipped without rendering when the word needs other characters; the
// skip must not lose a number whose text does match.
TEST(RangeFinderNumbers, GeneralNumbersAreSkippedOnlyWhenTheyCannotMatch) {
    auto book = testbook::Make({[](engine::Workbook& b, engine::Worksheet& sheet) {
        sheet.AddCell(testbook::Number(b, 1, 1, 123456789012.0));  // shows 1.23457E+11
        sheet.AddCell(testbook::Number(b, 1, 2, 1234, QStringLiteral("#,##0\"円\"")));
    }});
    const CellRect rect{1, 1, 1, 2};
    FindOptions values = Options("e+1");
    values.lookIn = LookIn::Values;
    EXPECT_EQ(Chain(*book, 0, rect, values), Names({"A1"}));
    values.what = QStringLiteral("円");
    EXPECT_EQ(Chain(*book, 0, rect, values), Names({"B1"}));
    FindOptions formulas = Options("123456789012", false, true);
    EXPECT_EQ(Chain(*book, 0, rect, formulas), Names({"A1"}));
    formulas.what = QStringLiteral("1?3456*");
    EXPECT_EQ(Chain(*book, 0, rect, formulas), Names({"A1"}));
}

// Number constants (dates, times, percentages) are skipped in formulas when the word needs a
// character their edit text never has; the displayed text is still compared in values.
TEST(RangeFinderNumbers, NumberConstantsAreSkippedOnlyWhenTheyCannotMatch) {
    auto book = testbook::Make({[](engine::Workbook& b, engine::Worksheet& sheet) {
        sheet.AddCell(testbook::Number(b, 1, 1, 45292.5, QStringLiteral("yyyy\"年\"m\"月\"")));
        sheet.AddCell(testbook::Number(b, 1, 2, 0.05, QStringLiteral("0%")));
        sheet.AddCell(testbook::Number(b, 1, 3, 0.75, QStringLiteral("h:mm")));
    }});
    const CellRect rect{1, 1, 1, 3};
    const struct {
        const char* what;
        LookIn lookIn;
        std::vector<QString> found;
    } cases[] = {
        {"2024/1/1 12:00:00", LookIn::Formulas, Names({"A1"})},
        {"5%", LookIn::Formulas, Names({"B1"})},
        {"18:00:00", LookIn::Formulas, Names({"C1"})},
        {"年", LookIn::Formulas, Names({})},
        {"2024年1月", LookIn::Values, Names({"A1"})},
        {"18:00", LookIn::Values, Names({"C1"})},
    };
    for (const auto& c : cases) {
        FindOptions options = Options(c.what);
        options.lookIn = c.lookIn;
        EXPECT_EQ(Chain(*book, 0, rect, options), c.found) << c.what;
    }
}

}  // namespace

// Row 2 and column B hidden; row 4 under a filter whose header is row 3, and hidden by
// it. Every cell and note holds the word.
class HiddenCellsTest : public testing::TestWithParam<LookIn> {
protected:
    std::shared_ptr<engine::Workbook> book_ =
        testbook::Make({[](engine::Workbook& b, engine::Worksheet& sheet) {
            testbook::Grid({{"x", "x"}, {"x", "x"}, {"x", "x"}, {"x", "x"}})(b, sheet);
            for (int32_t row = 1; row <= 4; ++row) {
                for (int32_t column = 1; column <= 2; ++column) {
                    sheet.AddNote({row, column, QStringLiteral("x")});
                }
            }
            sheet.HideRows(2, 2);
            sheet.HideColumns(2, 2);
            sheet.HideRows(4, 4);
            sheet.SetFilterRange({3, 1, 4, 2});
        }});

    std::vector<QString> Found(bool hiddenCells) {
        FindOptions options = Options("x");
        options.lookIn = GetParam();
        options.hiddenCells = hiddenCells;
        return Chain(*book_, 0, {1, 1, 4, 2}, options);
    }
};

TEST_P(HiddenCellsTest, ValuesPassOverHiddenCellsEveryLookInOverFilteredRows) {
    const std::vector<QString> expected = GetParam() == LookIn::Values
                                              ? Names({"A3", "A1"})
                                              : Names({"B1", "A2", "B2", "A3", "B3", "A1"});
    EXPECT_EQ(Found(false), expected);
}

TEST_P(HiddenCellsTest, TheSwitchFindsEveryCell) {
    EXPECT_EQ(Found(true), Names({"B1", "A2", "B2", "A3", "B3", "A4", "B4", "A1"}));
}

INSTANTIATE_TEST_SUITE_P(LookIns, HiddenCellsTest,
                         testing::Values(LookIn::Formulas, LookIn::Values, LookIn::Comments));
