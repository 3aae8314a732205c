// Shared-formula members get the master's text with relative references moved; everything
// that only looks like a reference stays.
#include "engine/readers/xlsx/FormulaText.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

struct TranslateCase {
    const char* formula;
    int rows;
    int columns;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const TranslateCase& c) {
    return out << c.formula << " by (" << c.rows << ", " << c.columns << ")";
}

class FormulaTranslation : public testing::TestWithParam<TranslateCase> {};

TEST_P(FormulaTranslation, MovesOnlyRelativeReferences) {
    const TranslateCase& c = GetParam();
    EXPECT_EQ(FormulaText::Translate(QString::fromUtf8(c.formula), c.rows, c.columns).toStdString(),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(References, FormulaTranslation,
                         testing::Values(TranslateCase{"A2*$C$1", 3, 0, "A5*$C$1"},
                                         TranslateCase{"$A1+B$1", 1, 1, "$A2+C$1"},
                                         TranslateCase{"SUM(A1:B2)", 2, 2, "SUM(C3:D4)"},
                                         TranslateCase{"SUM(A:A)", 5, 1, "SUM(B:B)"},
                                         TranslateCase{"SUM($A:B)", 5, 1, "SUM($A:C)"},
                                         TranslateCase{"SUM(1:1)", 2, 3, "SUM(3:3)"},
                                         TranslateCase{"Sheet1!A1", 1, 0, "Sheet1!A2"},
                                         TranslateCase{"'My Sheet'!A1", 0, 1, "'My Sheet'!B1"},
                                         TranslateCase{"[1]Sheet1!A1", 1, 0, "[1]Sheet1!A2"},
                                         TranslateCase{"売上!B2*2", 1, 0, "売上!B3*2"},
                                         TranslateCase{"a1+b2", 1, 0, "A2+B3"}));

INSTANTIATE_TEST_SUITE_P(
    LookAlikes, FormulaTranslation,
    testing::Values(TranslateCase{"LOG10(A1)", 1, 0, "LOG10(A2)"},
                    TranslateCase{"ATAN2(A1,B1)", 0, 1, "ATAN2(B1,C1)"},
                    TranslateCase{"\"A1\"&A1", 1, 0, "\"A1\"&A2"},
                    TranslateCase{"\"say \"\"B2\"\"\"&B2", 1, 0, "\"say \"\"B2\"\"\"&B3"},
                    TranslateCase{"'A1 sheet'!C3", 1, 0, "'A1 sheet'!C4"},
                    TranslateCase{"Table1[Amount]+A1", 1, 0, "Table1[Amount]+A2"},
                    TranslateCase{"MyName+A1", 1, 0, "MyName+A2"},
                    TranslateCase{"ABCD1+1", 1, 0, "ABCD1+1"},
                    TranslateCase{"1.5E+3+A1", 1, 0, "1.5E+3+A2"},
                    TranslateCase{"#REF!+#N/A+A1", 1, 0, "#REF!+#N/A+A2"}));

INSTANTIATE_TEST_SUITE_P(OffTheSheet, FormulaTranslation,
                         testing::Values(TranslateCase{"A1", -1, 0, "#REF!"},
                                         TranslateCase{"XFD1+1", 0, 1, "#REF!+1"},
                                         TranslateCase{"A1048576", 1, 0, "#REF!"},
                                         TranslateCase{"$A$1+B1", -5, -5, "$A$1+#REF!"}));

INSTANTIATE_TEST_SUITE_P(
    FuturePrefixes, FormulaTranslation,
    testing::Values(TranslateCase{"_xlfn.STDEV.S(A1:A3)", 0, 0, "STDEV.S(A1:A3)"},
                    TranslateCase{"_xlfn._xlws.SORT(A1:A3)", 1, 0, "SORT(A2:A4)"},
                    TranslateCase{"_xlfn.LET(_xlpm.x,1,_xlpm.x+A1)", 0, 0, "LET(x,1,x+A1)"},
                    TranslateCase{"_xludf.MYFUNC(1)", 0, 0, "MYFUNC(1)"},
                    TranslateCase{"\"_xlfn.X\"&A1", 0, 0, "\"_xlfn.X\"&A1"}));

}  // namespace
}  // namespace engine
