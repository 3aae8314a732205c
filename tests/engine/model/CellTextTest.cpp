// Text, Formula and the edit-bar text of single cells, for each kind of content and the
// formats that change the constant's form (dates, times, percentages).
#include "engine/model/CellText.h"

#include "tests/engine/model/MemoryBook.h"

#include <gtest/gtest.h>

namespace {

using engine::CellText;

struct Texts {
    double value;
    const char16_t* format;
    const char16_t* text;
    const char16_t* formula;
    const char16_t* editText;
};

class NumberCellTextTest : public testing::TestWithParam<Texts> {};

TEST_P(NumberCellTextTest, ShowsEachForm) {
    const Texts& t = GetParam();
    auto book = testbook::Make({});
    const engine::Cell cell = testbook::Number(*book, 1, 1, t.value, QString::fromUtf16(t.format));
    EXPECT_EQ(CellText::Text(*book, cell), QString::fromUtf16(t.text));
    EXPECT_EQ(CellText::Formula(*book, cell), QString::fromUtf16(t.formula));
    EXPECT_EQ(CellText::EditText(*book, cell), QString::fromUtf16(t.editText));
}

INSTANTIATE_TEST_SUITE_P(
    Constants, NumberCellTextTest,
    testing::Values(Texts{1234.5, u"General", u"1234.5", u"1234.5", u"1234.5"},
                    Texts{1234.5, u"#,##0.00", u"1,234.50", u"1234.5", u"1234.5"},
                    Texts{0.1 + 0.2, u"General", u"0.3", u"0.3", u"0.3"},
                    Texts{123456789012.0, u"general", u"1.23457E+11", u"123456789012",
                          u"123456789012"},
                    Texts{0.05, u"0%", u"5%", u"5%", u"5%"},
                    Texts{0.07, u"\"%\"0", u"%0", u"0.07", u"0.07"},  // a quoted % is no percentage
                    Texts{45296, u"yyyy/m/d", u"2024/1/5", u"1/5/2024", u"2024/1/5"},
                    Texts{45296.75, u"yyyy/m/d h:mm", u"2024/1/5 18:00", u"1/5/2024 6:00:00 PM",
                          u"2024/1/5 18:00:00"},
                    Texts{0.75, u"h:mm", u"18:00", u"6:00:00 PM", u"18:00:00"},
                    Texts{-1, u"yyyy/m/d", u"########", u"-1", u"-1"}));

TEST(CellTextKinds, TextBooleanErrorBlankAndFormula) {
    auto book = testbook::Make({});
    engine::Cell text = testbook::Text(*book, 1, 1, QStringLiteral("山田"));
    text.format = book->AddFormat(QStringLiteral("@\"さん\""));
    EXPECT_EQ(CellText::Text(*book, text), QStringLiteral("山田さん"));
    EXPECT_EQ(CellText::Formula(*book, text), QStringLiteral("山田"));

    engine::Cell boolean;
    boolean.type = engine::CellType::Boolean;
    boolean.number = 0;
    EXPECT_EQ(CellText::Text(*book, boolean), QStringLiteral("FALSE"));
    EXPECT_EQ(CellText::Formula(*book, boolean), QStringLiteral("FALSE"));

    engine::Cell error;
    error.type = engine::CellType::Error;
    error.text = book->AddString(QStringLiteral("#REF!"));
    EXPECT_EQ(CellText::Text(*book, error), QStringLiteral("#REF!"));
    EXPECT_EQ(CellText::Formula(*book, error), QStringLiteral("#REF!"));

    engine::Cell blank;
    EXPECT_EQ(CellText::Text(*book, blank), QString());
    EXPECT_EQ(CellText::Formula(*book, blank), QString());

    engine::Cell formula = testbook::Number(*book, 1, 1, 0.5, QStringLiteral("0%"));
    formula.formula = book->AddString(QStringLiteral("1/2"));
    EXPECT_EQ(CellText::Text(*book, formula), QStringLiteral("50%"));
    EXPECT_EQ(CellText::Formula(*book, formula), QStringLiteral("=1/2"));
    EXPECT_EQ(CellText::EditText(*book, formula), QStringLiteral("=1/2"));
}

}  // namespace
