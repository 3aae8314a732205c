// The .xls files of tests/fixtures/xls, written by make_fixtures.c through libxlsxwriter and
// converted by LibreOffice: formula texts as written to the .xlsx source, notes, shared
// strings split over CONTINUE records, values, formats and the sheet list.
#include "engine/CellText.h"
#include "engine/Workbook.h"
#include "engine/xls/XlsReader.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <memory>

namespace engine {
namespace {

QString FixturePath(const char* name) {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
           QStringLiteral("/../../fixtures/xls/") + QLatin1String(name);
}

std::unique_ptr<Workbook> Open(const char* name) {
    const QString path = FixturePath(name);
    auto reader = std::make_unique<XlsReader>(path);
    XlsReader* raw = reader.get();
    auto book = std::make_unique<Workbook>(path, std::move(reader));
    raw->ReadWorkbook(*book);
    return book;
}

std::string FormulaAt(Workbook& book, int sheet, int row, int column) {
    const Cell* cell = book.Sheet(sheet).FindCell(row, column);
    return cell ? CellText::Formula(book, *cell).toStdString() : std::string("<no cell>");
}

std::string TextAt(Workbook& book, int sheet, int row, int column) {
    const Cell* cell = book.Sheet(sheet).FindCell(row, column);
    return cell ? CellText::Text(book, *cell).toStdString() : std::string("<no cell>");
}

struct FormulaCase {
    int row;
    int column;
    const char* formula;
};

// The texts written to the .xlsx source; the .xls must read back the same.
const FormulaCase FormulaCases[] = {
    {1, 2, "=A1+A2*A3"},
    {2, 2, "=(A1+A2)*A3"},
    {3, 2, "=-A1^2"},
    {4, 2, "=A1%"},
    {5, 2, "=SUM(A1:A5)"},
    {6, 2, "=SUM($A$1:A$5)/COUNT(A:A)"},
    {7, 2, "='My Sheet'!B2+'My Sheet'!$C$3"},
    {8, 2, "=SUM('My Sheet'!A1:B2)"},
    {9, 2, "=IF(A1>2,\"big\",\"small\")"},
    {10, 2, "=VLOOKUP(A2,A1:A5,1,FALSE)"},
    {11, 2, "=\"say \"\"hi\"\" \"&A1"},
    {12, 2, "=SUM({1,2;3,4})"},
    {13, 2, "=CHOOSE(2,A1,A2,A3)"},
    {14, 2, "=Rate*2"},
    {15, 2, "=ROUND(PI(),2)"},
    {16, 2, "=A1<>A2"},
    {17, 2, "=Hidden!A1"},
    {18, 2, "=IFERROR(1/0,-1)"},
    {19, 2, "=SUMIFS(A1:A5,A1:A5,\">2\")"},
    {20, 2, "=NA()"},
    // One shared formula filled down: each cell shifts its relative parts.
    {1, 3, "=A1*2+$A$1"},
    {3, 3, "=A3*2+$A$1"},
    {5, 3, "=A5*2+$A$1"},
    // An array formula shows the same text in every cell of its range.
    {1, 4, "=A1:A2*10"},
    {2, 4, "=A1:A2*10"},
};

class XlsFormulaFixture : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(XlsFormulaFixture, ReadsBackTheWrittenText) {
    static std::unique_ptr<Workbook> book = Open("formulas.xls");
    const FormulaCase& c = GetParam();
    EXPECT_EQ(FormulaAt(*book, 0, c.row, c.column), c.formula);
}

INSTANTIATE_TEST_SUITE_P(Formulas, XlsFormulaFixture, ::testing::ValuesIn(FormulaCases));

TEST(XlsGeneratedFixtures, SheetListKeepsHiddenSheetsInOrder) {
    auto book = Open("formulas.xls");
    ASSERT_EQ(book->SheetCount(), 3);
    EXPECT_EQ(book->SheetName(0), QStringLiteral("Data"));
    EXPECT_EQ(book->SheetName(1), QStringLiteral("My Sheet"));
    EXPECT_EQ(book->SheetName(2), QStringLiteral("Hidden"));
    EXPECT_EQ(TextAt(*book, 2, 1, 1), "hidden value");
}

TEST(XlsGeneratedFixtures, NotesKeepTheirStoredText) {
    auto book = Open("notes.xls");
    const Worksheet& sheet = book->Sheet(0);
    ASSERT_EQ(sheet.Notes().size(), 3u);
    const QString* first = sheet.FindNote(1, 1);
    const QString* second = sheet.FindNote(3, 2);
    const QString* lonely = sheet.FindNote(6, 4);
    ASSERT_TRUE(first && second && lonely);
    EXPECT_EQ(*first, QStringLiteral("Yamada:\nPlease check"));
    EXPECT_EQ(*second, QStringLiteral("確認してください"));
    EXPECT_EQ(*lonely, QStringLiteral("note without a value"));
    // The note on an empty cell widens the used range.
    EXPECT_GE(sheet.UsedRange().bottom, 6);
}

// The same texts make_fixtures.c writes.
QString StringRow(int i) {
    const QString number = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
    switch (i % 3) {
        case 0:
            return QStringLiteral("Latin row %1 café naïve").arg(number);
        case 1:
            return QStringLiteral("日本語 %1 検索").arg(number);
        default:
            return QStringLiteral("mixed %1 売上 and text").arg(number);
    }
}

TEST(XlsGeneratedFixtures, SharedStringsSurviveContinueSplits) {
    auto book = Open("strings.xls");
    const Worksheet& sheet = book->Sheet(0);
    int checked = 0;
    for (int i = 0; i < 1500; ++i) {
        const Cell* cell = sheet.FindCell(i + 1, 1);
        ASSERT_NE(cell, nullptr) << i;
        ASSERT_EQ(book->String(cell->text), StringRow(i)) << "row " << i;
        ++checked;
    }
    EXPECT_EQ(checked, 1500);
}

TEST(XlsGeneratedFixtures, ValuesShowThroughTheirFormats) {
    auto book = Open("values.xls");
    ASSERT_EQ(book->SheetCount(), 2);
    EXPECT_EQ(book->SheetName(0), QStringLiteral("売上 2024"));
    EXPECT_EQ(book->SheetName(1), QStringLiteral("It's hidden"));
    EXPECT_EQ(TextAt(*book, 0, 1, 1), "1,234.50");
    EXPECT_EQ(TextAt(*book, 0, 2, 1), "2024/1/5");
    EXPECT_EQ(TextAt(*book, 0, 3, 1), "12.5%");
    EXPECT_EQ(TextAt(*book, 0, 4, 1), "-42");
    EXPECT_EQ(TextAt(*book, 0, 5, 1), "TRUE");
    // The source carries no cached result, and the conversion keeps that zero.
    EXPECT_EQ(FormulaAt(*book, 0, 6, 1), "=1/0");
    EXPECT_EQ(TextAt(*book, 0, 7, 1), "text value");
    // The formatted blank cell counts for the used range but holds nothing.
    const CellRect& used = book->Sheet(0).UsedRange();
    EXPECT_EQ(used.bottom, 10);
    EXPECT_EQ(used.right, 5);
    EXPECT_EQ(TextAt(*book, 0, 10, 5), "");
}

}  // namespace
}  // namespace engine
