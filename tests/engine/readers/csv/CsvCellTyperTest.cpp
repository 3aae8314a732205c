// Fields typed as the application types them when it opens a .csv, checked through what the
// object model reports: the displayed text and the formula/constant text.
#include "engine/model/CellText.h"
#include "engine/readers/csv/CsvCellTyper.h"

#include "tests/engine/calc/CalculatedBook.h"
#include "tests/engine/model/MemoryBook.h"

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
    auto book = testcalc::Book({{{t.field}}});
    const engine::Cell* cell = book->Sheet(0).FindCell(1, 1);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->type, t.type);
    EXPECT_EQ(engine::CellText::Text(*book, *cell), QString::fromUtf16(t.text));
    EXPECT_EQ(engine::CellText::Formula(*book, *cell), QString::fromUtf16(t.formula));
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
                    Typing{u"=SUM(1,2)", CellType::Number, u"3", u"=SUM(1,2)"},
                    Typing{u"=SUM(Total)", CellType::Error, u"#NAME?", u"=SUM(Total)"},
                    Typing{u"=A1:B2", CellType::Blank, u"", u"=A1:B2"}));

TEST(CsvCellTyperLimits, EmptyFieldMakesNoCellAndLongTextIsCut) {
    auto book = testbook::Make({});
    engine::CsvCellTyper typer(*book, 2030);
    EXPECT_FALSE(typer.Type(QString(), 1, 1));
    const auto cell = typer.Type(QString(40000, u'x'), 1, 1);
    ASSERT_TRUE(cell);
    EXPECT_EQ(book->String(cell->text).size(), 32767);
}

// The stored cell itself, before any formula is computed: kind, value, format code and the
// pool texts. Pins the accepted forms field by field, edge cases included.
struct StoredCell {
    const char16_t* field;
    CellType type;
    double number;
    const char16_t* format;
    const char16_t* text;     // the text or error value
    const char16_t* formula;  // the formula text without "="
};

class CsvCellTyperCellTest : public testing::TestWithParam<StoredCell> {};

TEST_P(CsvCellTyperCellTest, StoresCell) {
    const StoredCell& t = GetParam();
    auto book = testbook::Make({});
    engine::CsvCellTyper typer(*book, 2030);
    const auto cell = typer.Type(QString::fromUtf16(t.field), 7, 3);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->row, 7);
    EXPECT_EQ(cell->column, 3);
    EXPECT_EQ(cell->type, t.type);
    EXPECT_EQ(cell->number, t.number);
    EXPECT_EQ(book->Format(cell->format), QString::fromUtf16(t.format));
    EXPECT_EQ(book->String(cell->text), QString::fromUtf16(t.text));
    EXPECT_EQ(book->String(cell->formula), QString::fromUtf16(t.formula));
}

constexpr CellType Num = CellType::Number;
constexpr CellType Txt = CellType::Text;
constexpr CellType Fml = CellType::Blank;  // a formula not computed

StoredCell AsText(const char16_t* field) {
    return {field, Txt, 0, u"General", field, u""};
}

StoredCell AsNumber(const char16_t* field, double number, const char16_t* format = u"General") {
    return {field, Num, number, format, u"", u""};
}

StoredCell AsFormula(const char16_t* field, const char16_t* formula) {
    return {field, Fml, 0, u"General", u"", formula};
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, CsvCellTyperCellTest,
    testing::Values(
        AsNumber(u"0", 0), AsNumber(u"007", 7), AsNumber(u"-0", -0.0), AsNumber(u"+5", 5),
        AsNumber(u"-5", -5), AsNumber(u"1.", 1), AsNumber(u".5", 0.5), AsNumber(u"5.25", 5.25),
        AsNumber(u"1234567890123456789012345", 1234567890123456789012345.0),
        AsNumber(u" \t123\u3000", 123), AsNumber(u"1,234", 1234, u"#,##0"),
        AsNumber(u"12,345,678", 12345678, u"#,##0"), AsNumber(u"-1,234.5", -1234.5, u"#,##0.00"),
        AsNumber(u"1,234.", 1234, u"#,##0"), AsNumber(u"50%", 0.5, u"0%"),
        AsNumber(u"-12.5%", -0.125, u"0.00%"), AsNumber(u"1e5%", 1000, u"0%"),
        AsNumber(u"1E5", 100000, u"0.00E+00"), AsNumber(u"1e+05", 100000, u"0.00E+00"),
        AsNumber(u"-1.5e-3", -1.5e-3, u"0.00E+00"), AsNumber(u"1,000e3", 1e6, u"0.00E+00"),
        AsNumber(u"0e999", 0, u"0.00E+00"), AsNumber(u"1.e2", 100, u"0.00E+00"),
        AsNumber(u"$5", 5, u"$#,##0;$-#,##0"), AsNumber(u"-$5", -5, u"$#,##0;$-#,##0"),
        AsNumber(u"$-5", -5, u"$#,##0;$-#,##0"), AsNumber(u"+$5", 5, u"$#,##0;$-#,##0"),
        AsNumber(u"¥-1,000.50", -1000.5, u"¥#,##0.00;¥-#,##0.00"), AsNumber(u"$5%", 0.05, u"0%"),
        AsNumber(u"$1e3", 1000, u"0.00E+00"), AsNumber(u"(123)", -123),
        AsNumber(u"($5)", -5, u"$#,##0;$-#,##0"), AsNumber(u"(5%)", -0.05, u"0%"),
        AsNumber(u" (1,234) ", -1234, u"#,##0"), AsText(u"1,23"), AsText(u",123"),
        AsText(u"1,234,"), AsText(u"1234,567"), AsText(u"1,2345"), AsText(u"."), AsText(u".."),
        AsText(u"1.2.3"), AsText(u"e5"), AsText(u"1e"), AsText(u"1e+"), AsText(u"1E5x"),
        AsText(u"50%%"), AsText(u"%"), AsText(u"5 %"), AsText(u"$"), AsText(u"$$5"), AsText(u"5$"),
        AsText(u"1e400"), AsText(u"１２３"), AsText(u"(-5)"), AsText(u"()"), AsText(u"(.)"),
        AsText(u"( 5 )"), AsText(u"5-"), AsText(u"5+"), AsText(u"(5")));

INSTANTIATE_TEST_SUITE_P(
    DatesAndTimes, CsvCellTyperCellTest,
    testing::Values(
        AsNumber(u"2024/1/5", 45296, u"yyyy/m/d"), AsNumber(u"2024-01-05", 45296, u"yyyy/m/d"),
        AsNumber(u"24/1/5", 45296, u"yyyy/m/d"), AsNumber(u"99/1/5", 36165, u"yyyy/m/d"),
        AsNumber(u"29/12/31", 47483, u"yyyy/m/d"), AsNumber(u"30/1/1", 10959, u"yyyy/m/d"),
        AsNumber(u"2024/2/29", 45351, u"yyyy/m/d"), AsNumber(u"1900/1/1", 1, u"yyyy/m/d"),
        AsNumber(u"1900/2/28", 59, u"yyyy/m/d"), AsNumber(u"1900/3/1", 61, u"yyyy/m/d"),
        AsNumber(u"9999/12/31", 2958465, u"yyyy/m/d"), AsNumber(u"1/5", 47488, u"m\"月\"d\"日\""),
        AsNumber(u"12-31", 47848, u"m\"月\"d\"日\""),
        AsNumber(u"2024/12", 45627, u"yyyy\"年\"m\"月\""),
        AsNumber(u"2024-1", 45292, u"yyyy\"年\"m\"月\""),
        AsNumber(u"12:30", 45000 / 86400.0, u"h:mm"), AsNumber(u"0:00", 0, u"h:mm"),
        AsNumber(u"23:59:59", 86399 / 86400.0, u"h:mm:ss"),
        AsNumber(u"2024/1/5 12:30", 45296 + 45000 / 86400.0, u"yyyy/m/d h:mm"),
        AsNumber(u"2024-1-5  1:02:03", 45296 + 3723 / 86400.0, u"yyyy/m/d h:mm"),
        AsText(u"024/1/5"), AsText(u"02024/1/5"), AsText(u"2024/001/5"), AsText(u"2024/1/5/6"),
        AsText(u"2024/1-5"), AsText(u"2024//5"), AsText(u"2/29"), AsText(u"1900/2/29"),
        AsText(u"1899/12/31"), AsText(u"13/5"), AsText(u"1/32"), AsText(u"0/5"), AsText(u"2024/0"),
        AsText(u"2024/13"), AsText(u"1/5 12:30"), AsText(u"2024/1 12:30"),
        AsText(u"2024/1/5 24:00"), AsText(u"2024/1/5 12:30:"), AsText(u"2024/1/512:30"),
        AsText(u"12:5"), AsText(u"123:00"), AsText(u"12:60"), AsText(u"12:30:60"), AsText(u":30"),
        AsText(u"12:"), AsText(u"1:2:3"), AsText(u"2024/1/5 :30")));

INSTANTIATE_TEST_SUITE_P(
    OtherKinds, CsvCellTyperCellTest,
    testing::Values(StoredCell{u"TRUE", CellType::Boolean, 1, u"General", u"", u""},
                    StoredCell{u" True ", CellType::Boolean, 1, u"General", u"", u""},
                    StoredCell{u"false", CellType::Boolean, 0, u"General", u"", u""},
                    StoredCell{u"#n/a", CellType::Error, 0, u"General", u"#N/A", u""},
                    StoredCell{u" #Null! ", CellType::Error, 0, u"General", u"#NULL!", u""},
                    StoredCell{u"#NAME?", CellType::Error, 0, u"General", u"#NAME?", u""},
                    AsText(u"TRUEX"), AsText(u"FALS"), AsText(u"#N/A!"), AsText(u"#"),
                    AsText(u" abc "), AsText(u"="), AsText(u" =1"), AsText(u"-"), AsText(u"+"),
                    AsText(u" -abc"), AsText(u"'007"), AsFormula(u"=1+2", u"1+2"),
                    AsFormula(u"= 5", u" 5"), AsFormula(u"==", u"="), AsFormula(u"+abc", u"+abc"),
                    AsFormula(u"--5", u"--5"), AsFormula(u"+-5", u"+-5"),
                    AsFormula(u"-$-5", u"-$-5"), AsFormula(u"- 5", u"- 5"),
                    AsFormula(u"-1-", u"-1-"), AsFormula(u"+81-3-1234", u"+81-3-1234")));

// Repeated texts share one pool string; the pool grows many times meanwhile.
TEST(CsvCellTyperTexts, RepeatedTextIsStoredOnce) {
    auto book = testbook::Make({});
    engine::CsvCellTyper typer(*book, 2030);
    std::vector<uint32_t> first;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < 5000; ++i) {
            const QString field = QStringLiteral("名前%1").arg(i);
            const auto cell = typer.Type(field, i + 1, pass + 1);
            ASSERT_TRUE(cell);
            ASSERT_EQ(book->String(cell->text), field);
            if (pass == 0) {
                first.push_back(cell->text);
            } else {
                ASSERT_EQ(cell->text, first[static_cast<size_t>(i)]);
            }
        }
    }
    EXPECT_EQ(book->StringCount(), 5000u);
}

TEST(CsvCellTyperLimits, FieldIsCutBeforeItIsTyped) {
    auto book = testbook::Make({});
    engine::CsvCellTyper typer(*book, 2030);
    const auto cell = typer.Type(QString(32767, u'0') + u'x', 1, 1);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->type, CellType::Number);
    EXPECT_EQ(cell->number, 0);
}

}  // namespace
