// Fields typed as the application types them when it opens a .csv, checked through what the
// object model reports: the displayed text and the formula/constant text.
#include "engine/CellText.h"
#include "engine/csv/CsvCellTyper.h"
#include "engine/csv/CsvFormula.h"

#include "tests/engine/MemoryBook.h"

#include <gtest/gtest.h>

namespace {

using engine::CellType;

struct Typing {
    const char16_t* field;
    CellType type;
    const char16_t* text;
    const char16_t* formula;
};

class CsvCellTyperTest : public testing::TestWithParam<Typing> {};

TEST_P(CsvCellTyperTest, TypesLikeEnteredText) {
    const Typing& t = GetParam();
    auto book = testbook::Make({});
    engine::CsvCellTyper typer(*book, 2030);
    const auto cell = typer.Type(QString::fromUtf16(t.field), 1, 1);
    ASSERT_TRUE(cell);
    std::vector<engine::Cell> cells{*cell};
    engine::CsvFormula::EvaluateAll(*book, cells);
    EXPECT_EQ(cells[0].type, t.type);
    EXPECT_EQ(engine::CellText::Text(*book, cells[0]), QString::fromUtf16(t.text));
    EXPECT_EQ(engine::CellText::Formula(*book, cells[0]), QString::fromUtf16(t.formula));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, CsvCellTyperTest,
    testing::Values(Typing{u"abc", CellType::Text, u"abc", u"abc"},
                    Typing{u"007", CellType::Number, u"7", u"7"},
                    Typing{u"-12.50", CellType::Number, u"-12.5", u"-12.5"},
                    Typing{u" 123 ", CellType::Number, u"123", u"123"},
                    Typing{u"1234567890123456789", CellType::Number, u"1.23457E+18",
                           u"1.23456789012346E+18"},
                    Typing{u"1,234", CellType::Number, u"1,234", u"1234"},
                    Typing{u"1,234.5", CellType::Number, u"1,234.50", u"1234.5"},
                    Typing{u"1,23", CellType::Text, u"1,23", u"1,23"},
                    Typing{u"50%", CellType::Number, u"50%", u"50%"},
                    Typing{u"12.5%", CellType::Number, u"12.50%", u"12.5%"},
                    Typing{u"1E5", CellType::Number, u"1.00E+05", u"100000"},
                    Typing{u"¥1,000", CellType::Number, u"¥1,000", u"1000"},
                    Typing{u"$1,000", CellType::Number, u"$1,000", u"1000"},
                    Typing{u"(123)", CellType::Number, u"-123", u"-123"},
                    Typing{u".5", CellType::Number, u"0.5", u"0.5"},
                    Typing{u"+5", CellType::Number, u"5", u"5"},
                    Typing{u"-1.5e-3", CellType::Number, u"-1.50E-03", u"-0.0015"},
                    Typing{u"1E5x", CellType::Text, u"1E5x", u"1E5x"},
                    Typing{u"1.2.3", CellType::Text, u"1.2.3", u"1.2.3"},
                    Typing{u"１２３", CellType::Text, u"１２３", u"１２３"},
                    Typing{u"03-1234-5678", CellType::Text, u"03-1234-5678", u"03-1234-5678"}));

INSTANTIATE_TEST_SUITE_P(
    DatesAndTimes, CsvCellTyperTest,
    testing::Values(
        Typing{u"2024/1/5", CellType::Number, u"2024/1/5", u"1/5/2024"},
        Typing{u"2024-01-05", CellType::Number, u"2024/1/5", u"1/5/2024"},
        Typing{u"1900/1/1", CellType::Number, u"1900/1/1", u"1/1/1900"},
        Typing{u"1900/3/1", CellType::Number, u"1900/3/1", u"3/1/1900"},
        Typing{u"1/5", CellType::Number, u"1月5日", u"1/5/2030"},
        Typing{u"2024/1", CellType::Number, u"2024年1月", u"1/1/2024"},
        Typing{u"12:30", CellType::Number, u"12:30", u"12:30:00 PM"},
        Typing{u"2024/1/5 12:30", CellType::Number, u"2024/1/5 12:30", u"1/5/2024 12:30:00 PM"},
        Typing{u"2024/2/30", CellType::Text, u"2024/2/30", u"2024/2/30"},
        Typing{u"13/5", CellType::Text, u"13/5", u"13/5"},
        Typing{u"25:00", CellType::Text, u"25:00", u"25:00"},
        Typing{u"2024/1-5", CellType::Text, u"2024/1-5", u"2024/1-5"},
        Typing{u"2024/1/5T12:30", CellType::Text, u"2024/1/5T12:30", u"2024/1/5T12:30"}));

INSTANTIATE_TEST_SUITE_P(
    OtherKinds, CsvCellTyperTest,
    testing::Values(Typing{u"TRUE", CellType::Boolean, u"TRUE", u"TRUE"},
                    Typing{u"false", CellType::Boolean, u"FALSE", u"FALSE"},
                    Typing{u"#n/a", CellType::Error, u"#N/A", u"#N/A"},
                    Typing{u"#DIV/0!", CellType::Error, u"#DIV/0!", u"#DIV/0!"},
                    Typing{u"=1+2", CellType::Number, u"3", u"=1+2"},
                    Typing{u"=\"007\"", CellType::Text, u"007", u"=\"007\""},
                    Typing{u"=", CellType::Text, u"=", u"="},
                    Typing{u"-abc", CellType::Error, u"#NAME?", u"=-abc"},
                    Typing{u"+81-3-1234", CellType::Number, u"-1156", u"=+81-3-1234"},
                    Typing{u"-", CellType::Text, u"-", u"-"},
                    Typing{u"'007", CellType::Text, u"'007", u"'007"},
                    Typing{u"=SUM(1,2)", CellType::Blank, u"", u"=SUM(1,2)"}));

TEST(CsvCellTyperLimits, EmptyFieldMakesNoCellAndLongTextIsCut) {
    auto book = testbook::Make({});
    engine::CsvCellTyper typer(*book, 2030);
    EXPECT_FALSE(typer.Type(QString(), 1, 1));
    const auto cell = typer.Type(QString(40000, u'x'), 1, 1);
    ASSERT_TRUE(cell);
    EXPECT_EQ(book->String(cell->text).size(), 32767);
}

}  // namespace
