// Results of .csv formulas: the arithmetic the evaluator covers, its error values, references
// between cells, and what it deliberately leaves unevaluated.
#include "engine/model/CellText.h"
#include "engine/readers/csv/CsvCellTyper.h"
#include "engine/readers/csv/CsvFormula.h"

#include "tests/engine/model/MemoryBook.h"

#include <gtest/gtest.h>

namespace {

// Types the fields of one row (A1, B1, ...) and returns each cell's displayed text.
std::vector<QString> Evaluate(std::initializer_list<const char16_t*> fields) {
    auto book = testbook::Make({});
    engine::CsvCellTyper typer(*book, 2030);
    std::vector<engine::Cell> cells;
    int32_t column = 1;
    for (const char16_t* field : fields) {
        cells.push_back(*typer.Type(QString::fromUtf16(field), 1, column++));
    }
    engine::CsvFormula::EvaluateAll(*book, cells);
    std::vector<QString> texts;
    for (const engine::Cell& cell : cells) {
        texts.push_back(engine::CellText::Text(*book, cell));
    }
    return texts;
}

struct Result {
    const char16_t* formula;
    const char16_t* text;
};

class CsvFormulaTest : public testing::TestWithParam<Result> {};

TEST_P(CsvFormulaTest, ShowsTheResult) {
    EXPECT_EQ(Evaluate({GetParam().formula}).front(), QString::fromUtf16(GetParam().text))
        << QString::fromUtf16(GetParam().formula).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, CsvFormulaTest,
                         testing::Values(Result{u"=1+2*3", u"7"}, Result{u"=(1+2)*3", u"9"},
                                         Result{u"=2^3^2", u"64"},  // left to right
                                         Result{u"=-2^2", u"4"},    // the sign binds first
                                         Result{u"=10/4", u"2.5"}, Result{u"=50%", u"0.5"},
                                         Result{u"= 1 + 1 ", u"2"}, Result{u"=1/3", u"0.333333333"},
                                         Result{u"=0.1+0.2", u"0.3"}, Result{u"=\"3\"+1", u"4"},
                                         Result{u"=TRUE+1", u"2"}, Result{u"=1E3*2", u"2000"}));

INSTANTIATE_TEST_SUITE_P(TextAndComparison, CsvFormulaTest,
                         testing::Values(Result{u"=\"a\"&\"b\"", u"ab"},
                                         Result{u"=\"say \"\"hi\"\"\"", u"say \"hi\""},
                                         Result{u"=1&2", u"12"}, Result{u"=1<2", u"TRUE"},
                                         Result{u"=\"B\"=\"b\"", u"TRUE"},
                                         Result{u"=2<>2", u"FALSE"},
                                         Result{u"=\"a\">1", u"TRUE"},  // text sorts after numbers
                                         Result{u"=1>=1", u"TRUE"}));

INSTANTIATE_TEST_SUITE_P(Errors, CsvFormulaTest,
                         testing::Values(Result{u"=1/0", u"#DIV/0!"},
                                         Result{u"=\"a\"*2", u"#VALUE!"},
                                         Result{u"=abc", u"#NAME?"},
                                         Result{u"=1/0+abc", u"#DIV/0!"}));

INSTANTIATE_TEST_SUITE_P(LeftUnevaluated, CsvFormulaTest,
                         testing::Values(Result{u"=SUM(1,2)", u""}, Result{u"=A1:B2", u""},
                                         Result{u"=Sheet2!A1", u""}, Result{u"=(1+2", u""},
                                         Result{u"=\"open", u""}, Result{u"=1 2", u""},
                                         Result{u"=1+", u""}));

TEST(CsvFormulaReferences, CellsOfTheSheetAreReadIncludingOtherFormulas) {
    EXPECT_EQ(Evaluate({u"5", u"=A1*2", u"=B1+A1", u"=Z9+1", u"=$A$1&\"x\""}),
              (std::vector<QString>{"5", "10", "15", "1", "5x"}));
}

TEST(CsvFormulaReferences, CircularReferencesStayUnevaluated) {
    EXPECT_EQ(Evaluate({u"=B1", u"=A1", u"=A1+1", u"7"}), (std::vector<QString>{"", "", "", "7"}));
}

TEST(CsvFormulaLimits, DeepNestingDoesNotRecurseWithoutBound) {
    const QString deep = u'=' + QString(100000, u'(') + u'1' + QString(100000, u')');
    const QString signs = u'=' + QString(100000, u'-') + u'1';
    for (const QString& formula : {deep, signs}) {
        EXPECT_EQ(Evaluate({reinterpret_cast<const char16_t*>(formula.utf16())}).front(),
                  QString());
    }
}

// A few rows doubling a text would otherwise take all memory; a long chain of references
// to one cell would take quadratic time.
TEST(CsvFormulaLimits, JoinedTextLongerThanACellIsAValueError) {
    const std::u16string kilobyte(1024, u'k');
    std::vector<std::u16string> fields = {kilobyte};
    for (int i = 0; i < 8; ++i) {
        const char16_t column = char16_t(u'A' + i);
        fields.push_back(u"=" + std::u16string(1, column) + u"1&" + std::u16string(1, column) +
                         u"1");
    }
    std::u16string chain = u"=A1";
    for (int i = 0; i < 10000; ++i) {
        chain += u"&A1";
    }
    fields.push_back(chain);
    auto book = testbook::Make({});
    engine::CsvCellTyper typer(*book, 2030);
    std::vector<engine::Cell> cells;
    int32_t column = 1;
    for (const std::u16string& field : fields) {
        cells.push_back(*typer.Type(QString::fromStdU16String(field), 1, column++));
    }
    engine::CsvFormula::EvaluateAll(*book, cells);
    std::vector<qsizetype> lengths;
    for (const engine::Cell& cell : cells) {
        const QString text = engine::CellText::Text(*book, cell);
        lengths.push_back(text == u"#VALUE!" ? -1 : text.size());
    }
    EXPECT_EQ(lengths, (std::vector<qsizetype>{1024, 2048, 4096, 8192, 16384, -1, -1, -1, -1, -1}));
}

}  // namespace
