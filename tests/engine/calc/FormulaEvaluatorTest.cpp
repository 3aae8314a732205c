// Formula results as the application computes them on opening a book whose formulas have no
// stored result: operators and their precedence, each function with ordinary values, errors,
// text/number coercion and empty cells, references across sheets, and what stays empty.
#include "tests/engine/calc/CalculatedBook.h"

#include <gtest/gtest.h>

namespace {

using testcalc::Grid;

// The data every case reads. B2 holds the text 7; C2 is empty; A3 is a date.
Grid Data() {
    return {
        {u"10", u"20", u"abc", u"TRUE", u"", u"", u"", u"apple", u"100", u"10", u"a"},
        {u"5", u"=\"7\"", u"", u"#N/A", u"", u"", u"", u"banana", u"200", u"20", u"b"},
        {u"2024/1/5", u"東京", u"tokyo", u"-3.5", u"", u"", u"", u"cherry", u"300", u"30", u"c"},
    };
}

// The displayed text of `formula` placed in Z100 of the data sheet.
QString Result(const std::u16string& formula, bool csvNames = true) {
    Grid grid = Data();
    grid.resize(100);
    grid[99].resize(26);
    grid[99][25] = formula;
    auto book = testcalc::Book({grid}, csvNames);
    return testcalc::TextAt(*book, 0, 100, 26);
}

struct Case {
    const char16_t* formula;
    const char16_t* text;
};

class Formula : public testing::TestWithParam<Case> {};

TEST_P(Formula, ShowsTheApplicationsResult) {
    EXPECT_EQ(Result(GetParam().formula), QString::fromUtf16(GetParam().text))
        << QString::fromUtf16(GetParam().formula).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Operators, Formula,
    testing::Values(Case{u"=1+2*3", u"7"}, Case{u"=(1+2)*3", u"9"}, Case{u"=1+2*3^2", u"19"},
                    Case{u"=2^3^2", u"64"},  // left to right
                    Case{u"=-2^2", u"4"},    // the sign binds first
                    Case{u"=2^-1", u"0.5"}, Case{u"=10/4", u"2.5"}, Case{u"=50%*2", u"1"},
                    Case{u"= 1 + 1 ", u"2"}, Case{u"=1/3", u"0.333333333"},
                    Case{u"=1/3&\"\"", u"0.333333333333333"},  // joined with 15 digits
                    Case{u"=0.1+0.2", u"0.3"}, Case{u"=\"3\"+1", u"4"}, Case{u"=TRUE+1", u"2"},
                    Case{u"=\"1,000\"*2", u"2000"}, Case{u"=1E3*2", u"2000"},
                    Case{u"=\"a\"&1+1", u"a2"}, Case{u"=\"say \"\"hi\"\"\"", u"say \"hi\""},
                    Case{u"=1<2", u"TRUE"}, Case{u"=\"B\"=\"b\"", u"TRUE"},
                    Case{u"=\"a\">1", u"TRUE"},  // text sorts after numbers
                    Case{u"=C2=0", u"TRUE"}, Case{u"=C2=\"\"", u"TRUE"}, Case{u"=C2+1", u"1"},
                    Case{u"=C2", u"0"}, Case{u"=$A$1*2", u"20"}));

INSTANTIATE_TEST_SUITE_P(Errors, Formula,
                         testing::Values(Case{u"=1/0", u"#DIV/0!"}, Case{u"=\"a\"*2", u"#VALUE!"},
                                         Case{u"=abc", u"#NAME?"}, Case{u"=1/0+abc", u"#DIV/0!"},
                                         Case{u"=D2+1", u"#N/A"}, Case{u"=#REF!", u"#REF!"},
                                         Case{u"=0^-1", u"#DIV/0!"},
                                         Case{u"=SUM(Total)", u"#NAME?"}));

INSTANTIATE_TEST_SUITE_P(
    Conditions, Formula,
    testing::Values(Case{u"=IF(A1>5,\"big\",\"small\")", u"big"},
                    Case{u"=IF(A1<5,\"big\")", u"FALSE"}, Case{u"=IF(A1>5,,1)", u"0"},
                    Case{u"=IF(C1,1,2)", u"#VALUE!"}, Case{u"=IF(D2,1,2)", u"#N/A"},
                    Case{u"=IF(\"true\",1,2)", u"1"},
                    Case{u"=IF(TRUE,1,Z100)", u"1"},  // the branch not taken is not computed
                    Case{u"=IFERROR(1/0,\"err\")", u"err"}, Case{u"=IFERROR(A1,\"err\")", u"10"},
                    Case{u"=AND(TRUE,1)", u"TRUE"}, Case{u"=AND(A1:D1)", u"TRUE"},
                    Case{u"=AND(C1)", u"#VALUE!"}, Case{u"=AND(\"x\")", u"#VALUE!"},
                    Case{u"=OR(0,FALSE)", u"FALSE"}, Case{u"=OR(A1:D2)", u"#N/A"},
                    Case{u"=NOT(0)", u"TRUE"}));

INSTANTIATE_TEST_SUITE_P(
    Aggregates, Formula,
    testing::Values(Case{u"=SUM(A1:B2)", u"35"},  // the text 7 in a range is skipped
                    Case{u"=SUM(A1,B2)", u"10"},  // a reference is a range too
                    Case{u"=SUM(A1:D1)", u"30"}, Case{u"=SUM(A1:D2)", u"#N/A"},
                    Case{u"=SUM(C1)", u"0"}, Case{u"=SUM(\"3\",TRUE)", u"4"},
                    Case{u"=SUM(\"x\")", u"#VALUE!"}, Case{u"=SUM(1:1)", u"140"},
                    Case{u"=SUM(I:I)", u"600"}, Case{u"=SUM(Sheet1!I1:I2)", u"300"},
                    Case{u"=AVERAGE(A1:B1)", u"15"}, Case{u"=AVERAGE(C1)", u"#DIV/0!"},
                    Case{u"=COUNT(A1:D3)", u"5"}, Case{u"=COUNT(\"1\",\"x\",TRUE,1/0)", u"2"},
                    Case{u"=COUNTA(A1:D2)", u"7"}, Case{u"=MIN(A1:B2)", u"5"},
                    Case{u"=MIN(C1)", u"0"}, Case{u"=MAX(A1:B1,D3)", u"20"},
                    Case{u"=MAX(A1:D3)", u"#N/A"}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, Formula,
    testing::Values(Case{u"=ROUND(2.675,2)", u"2.68"}, Case{u"=ROUND(-2.5,0)", u"-3"},
                    Case{u"=ROUND(1234.5,-2)", u"1200"}, Case{u"=ROUND(\"x\",1)", u"#VALUE!"},
                    Case{u"=ROUNDUP(1.201,1)", u"1.3"}, Case{u"=ROUNDUP(-1.21,1)", u"-1.3"},
                    Case{u"=ROUNDDOWN(1.29,1)", u"1.2"}, Case{u"=ROUNDDOWN(-1.29,0)", u"-1"},
                    Case{u"=INT(-3.5)", u"-4"}, Case{u"=INT(B2)", u"7"}, Case{u"=ABS(D3)", u"3.5"},
                    Case{u"=MOD(10,3)", u"1"}, Case{u"=MOD(-10,3)", u"2"},
                    Case{u"=MOD(1,0)", u"#DIV/0!"}, Case{u"=VALUE(\"1,234\")", u"1234"},
                    Case{u"=VALUE(\"50%\")", u"0.5"}, Case{u"=VALUE(\"abc\")", u"#VALUE!"}));

INSTANTIATE_TEST_SUITE_P(
    Texts, Formula,
    testing::Values(
        Case{u"=CONCATENATE(A1,\"-\",C1)", u"10-abc"}, Case{u"=CONCAT(A1:C1)", u"1020abc"},
        Case{u"=_xlfn.CONCAT(H1:H2)", u"applebanana"}, Case{u"=CONCATENATE(D2)", u"#N/A"},
        Case{u"=LEFT(C1,2)", u"ab"}, Case{u"=LEFT(C1)", u"a"}, Case{u"=RIGHT(C1,5)", u"abc"},
        Case{u"=LEFT(C1,-1)", u"#VALUE!"}, Case{u"=MID(C1,2,5)", u"bc"}, Case{u"=MID(C1,9,1)", u""},
        Case{u"=MID(C1,0,1)", u"#VALUE!"}, Case{u"=LEN(B3)", u"2"}, Case{u"=LEN(A1)", u"2"},
        Case{u"=LEN(C2)", u"0"}, Case{u"=TRIM(\"  a   b  \")", u"a b"}, Case{u"=UPPER(C1)", u"ABC"},
        Case{u"=LOWER(\"ÄB\")", u"äb"}, Case{u"=TEXT(A3,\"yyyy年m月d日\")", u"2024年1月5日"},
        Case{u"=TEXT(1234.5,\"#,##0.0\")", u"1,234.5"}, Case{u"=TEXT(0.25,\"0%\")", u"25%"},
        Case{u"=TEXT(\"12\",\"0.00\")", u"12.00"}, Case{u"=TEXT(C1,\"0\")", u"abc"}));

INSTANTIATE_TEST_SUITE_P(
    Dates, Formula,
    testing::Values(Case{u"=DATE(2024,13,1)", u"45658"}, Case{u"=DATE(2024,1,0)", u"45291"},
                    Case{u"=DATE(124,1,1)", u"45292"},  // years below 1900 count from 1900
                    Case{u"=DATE(-1,1,1)", u"#NUM!"}, Case{u"=YEAR(A3)", u"2024"},
                    Case{u"=MONTH(A3)", u"1"}, Case{u"=DAY(45658)", u"1"},
                    Case{u"=YEAR(\"2023/7/9\")", u"2023"}, Case{u"=YEAR(-1)", u"#NUM!"},
                    Case{u"=TODAY()-TODAY()", u"0"}, Case{u"=NOW()>=TODAY()", u"TRUE"},
                    Case{u"=TODAY()>45658", u"TRUE"}));

INSTANTIATE_TEST_SUITE_P(
    Lookups, Formula,
    testing::Values(
        Case{u"=VLOOKUP(\"BANANA\",H1:I3,2,FALSE)", u"200"},
        Case{u"=VLOOKUP(\"ch*\",H1:I3,2,FALSE)", u"300"},
        Case{u"=VLOOKUP(\"grape\",H1:I3,2,FALSE)", u"#N/A"}, Case{u"=VLOOKUP(25,J1:K3,2)", u"b"},
        Case{u"=VLOOKUP(30,J:K,2,TRUE)", u"c"}, Case{u"=VLOOKUP(5,J1:K3,2,TRUE)", u"#N/A"},
        Case{u"=VLOOKUP(30,J1:K3,3,FALSE)", u"#REF!"},
        Case{u"=VLOOKUP(30,J1:K3,0,FALSE)", u"#VALUE!"}, Case{u"=HLOOKUP(20,A1:B2,2,FALSE)", u"7"},
        Case{u"=INDEX(H1:I3,2,2)", u"200"}, Case{u"=INDEX(H1:H3,3)", u"cherry"},
        Case{u"=INDEX(A1:D1,3)", u"abc"}, Case{u"=INDEX(H1:I3,4,1)", u"#REF!"},
        Case{u"=MATCH(\"cherry\",H1:H3,0)", u"3"}, Case{u"=MATCH(25,J1:J3)", u"2"},
        Case{u"=MATCH(35,J1:J3,1)", u"3"}, Case{u"=MATCH(\"x\",H1:H3,0)", u"#N/A"},
        Case{u"=MATCH(20,A1:B1,0)", u"2"}, Case{u"=SUMIF(H1:H3,\"b*\",I1:I3)", u"200"},
        Case{u"=SUMIF(J1:J3,\">=20\")", u"50"}, Case{u"=SUMIF(J1:J3,\">=20\",I1:I3)", u"500"},
        Case{u"=COUNTIF(H1:I3,\"<>apple\")", u"5"}, Case{u"=COUNTIF(J1:J3,20)", u"1"},
        Case{u"=COUNTIF(A1:D2,\"7\")", u"1"}, Case{u"=COUNTIF(A1:D3,\"*\")", u"4"},
        Case{u"=COUNTIF(H1:H3,\"?????\")", u"1"}));

INSTANTIATE_TEST_SUITE_P(
    LeftUnevaluated, Formula,
    testing::Values(Case{u"=A1:B2", u""}, Case{u"=Sheet2!A1", u""}, Case{u"=(1+2", u""},
                    Case{u"=\"open", u""}, Case{u"=1 2", u""}, Case{u"=1+", u""},
                    Case{u"={1,2}", u""}, Case{u"=SUM(1,2", u""}, Case{u"=INDEX(H1:I3,0,1)", u""},
                    Case{u"=ROUND(1)", u""},  // a call the application would not have saved
                    Case{u"=[1]Sheet1!A1", u""},
                    Case{u"=REPT(\"foo\",2)", u""}));  // a function not computed here

TEST(FormulaNames, AnUnknownNameInABookThatMayDefineNamesStaysEmpty) {
    EXPECT_EQ(Result(u"=Total*2", false), QString());
    EXPECT_EQ(Result(u"=NETWORKDAYS(1,2)", false), QString());
    EXPECT_EQ(Result(u"=SUM(1,2)", false), QStringLiteral("3"));
}

TEST(FormulaReferences, CellsOfEverySheetAreReadIncludingOtherFormulas) {
    auto book = testcalc::Book(
        {{{u"5", u"=A1*2", u"=B1+A1", u"=Z9+1", u"='sheet2'!A1&\"x\"", u"='No Such'!A1"}},
         {{u"=Sheet1!C1+1", u"=SUM(Sheet1!A1:C1)"}}});
    EXPECT_EQ(testcalc::TextAt(*book, 0, 1, 3), QStringLiteral("15"));
    EXPECT_EQ(testcalc::TextAt(*book, 0, 1, 4), QStringLiteral("1"));
    EXPECT_EQ(testcalc::TextAt(*book, 0, 1, 5), QStringLiteral("16x"));
    EXPECT_EQ(testcalc::TextAt(*book, 0, 1, 6), QString());
    EXPECT_EQ(testcalc::TextAt(*book, 1, 1, 1), QStringLiteral("16"));
    EXPECT_EQ(testcalc::TextAt(*book, 1, 1, 2), QStringLiteral("30"));
}

TEST(FormulaReferences, SheetsReferringToEachOtherAreComputedFromEitherSide) {
    auto book = testcalc::Book({{{u"1", u"=Sheet2!A1+1"}}, {{u"=Sheet1!A1*10", u"=Sheet1!B1*2"}}});
    EXPECT_EQ(testcalc::TextAt(*book, 0, 1, 2), QStringLiteral("11"));
    EXPECT_EQ(testcalc::TextAt(*book, 1, 1, 2), QStringLiteral("22"));
}

TEST(FormulaReferences, CircularReferencesStayEmptyAndTheRestIsComputed) {
    auto book = testcalc::Book({{{u"=B1", u"=A1", u"=A1+1", u"7", u"=D1*2"}}, {{u"=Sheet1!A2"}}});
    std::vector<QString> texts;
    for (int32_t column = 1; column <= 5; ++column) {
        texts.push_back(testcalc::TextAt(*book, 0, 1, column));
    }
    EXPECT_EQ(texts, (std::vector<QString>{"", "", "", "7", "14"}));
    EXPECT_EQ(testcalc::TextAt(*book, 1, 1, 1), QStringLiteral("0"));
}

TEST(FormulaLimits, ChainsAreComputedInEitherDirection) {
    Grid upward(3000, std::vector<std::u16string>(1));
    Grid downward(3000, std::vector<std::u16string>(1));
    upward[0][0] = u"1";
    downward[2999][0] = u"1";
    for (int row = 2; row <= 3000; ++row) {
        const std::u16string previous = QString::number(row - 1).toStdU16String();
        upward[size_t(row) - 1][0] = u"=A" + previous + u"+1";
        downward[size_t(row) - 2][0] = u"=A" + QString::number(row).toStdU16String() + u"+1";
    }
    auto book = testcalc::Book({upward, downward});
    EXPECT_EQ(testcalc::TextAt(*book, 0, 3000, 1), QStringLiteral("3000"));
    EXPECT_EQ(testcalc::TextAt(*book, 1, 1, 1), QStringLiteral("3000"));
}

TEST(FormulaLimits, DeepNestingDoesNotRecurseWithoutBound) {
    const std::u16string deep =
        u"=" + std::u16string(100000, u'(') + u"1" + std::u16string(100000, u')');
    const std::u16string signs = u"=" + std::u16string(100000, u'-') + u"1";
    std::u16string calls = u"=";
    for (int i = 0; i < 10000; ++i) {
        calls += u"ABS(";
    }
    calls += u"1" + std::u16string(10000, u')');
    for (const std::u16string& formula : {deep, signs, calls}) {
        EXPECT_EQ(Result(formula), QString());
    }
}

// Joining doubles a text each row: without a bound it would take all memory.
TEST(FormulaLimits, JoinedTextLongerThanACellIsAValueError) {
    std::vector<std::u16string> fields = {std::u16string(1024, u'k')};
    for (int i = 0; i < 8; ++i) {
        const std::u16string cell = std::u16string(1, char16_t(u'A' + i)) + u"1";
        fields.push_back(u"=" + cell + u"&" + cell);
    }
    fields.push_back(u"=CONCAT(A1:I1,A1:I1)");
    auto book = testcalc::Book({{fields}});
    std::vector<qsizetype> lengths;
    for (int32_t column = 1; column <= int32_t(fields.size()); ++column) {
        const QString text = testcalc::TextAt(*book, 0, 1, column);
        lengths.push_back(text == u"#VALUE!" ? -1 : text.size());
    }
    EXPECT_EQ(lengths, (std::vector<qsizetype>{1024, 2048, 4096, 8192, 16384, -1, -1, -1, -1, -1}));
}

TEST(FormulaLimits, ASpentBudgetLeavesTheRestEmpty) {
    Grid grid(200, std::vector<std::u16string>(2));
    for (size_t row = 0; row < grid.size(); ++row) {
        grid[row][0] = u"1";
        grid[row][1] = u"=SUM(A1:A200)";
    }
    auto book = testcalc::Book({grid}, true, {.steps = 1000, .time = std::chrono::seconds(60)});
    EXPECT_EQ(testcalc::TextAt(*book, 0, 1, 2), QStringLiteral("200"));
    EXPECT_EQ(testcalc::TextAt(*book, 0, 200, 2), QString());
}

}  // namespace
