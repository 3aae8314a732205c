// The same workbooks as .xlsx (written by libxlsxwriter, see make_fixtures.c) and as .xls
// (converted by LibreOffice): the two readers must agree on sheet names and order (hidden
// sheets included), texts through their formats, formula texts (shared and array formulas,
// 3-D references, names, newer functions), notes, shared strings split over CONTINUE
// records, and the used range.
#include "engine/model/CellText.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xls/XlsReader.h"
#include "engine/readers/xlsx/XlsxReader.h"
#include "tests/engine/readers/ReaderBook.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <memory>
#include <tuple>

namespace engine {
namespace {

QString Fixture(const char* name) {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
           QStringLiteral("/../../../fixtures/xls/") + QLatin1String(name);
}

class XlsAgainstXlsx : public ::testing::TestWithParam<const char*> {};

TEST_P(XlsAgainstXlsx, ReadersAgree) {
    const QString stem = QLatin1String(GetParam());
    auto xlsx = OpenWith<XlsxReader>(Fixture(GetParam()) + QStringLiteral(".xlsx"));
    auto xls = OpenWith<XlsReader>(Fixture(GetParam()) + QStringLiteral(".xls"));
    ASSERT_EQ(xls->SheetCount(), xlsx->SheetCount());
    int compared = 0;
    for (int s = 0; s < xlsx->SheetCount(); ++s) {
        EXPECT_EQ(xls->SheetName(s), xlsx->SheetName(s));
        const Worksheet& expected = xlsx->Sheet(s);
        const Worksheet& actual = xls->Sheet(s);
        for (const Cell& cell : expected.Cells()) {
            SCOPED_TRACE(QStringLiteral("%1 sheet %2 R%3C%4")
                             .arg(stem)
                             .arg(s + 1)
                             .arg(cell.row)
                             .arg(cell.column)
                             .toStdString());
            const Cell* other = actual.FindCell(cell.row, cell.column);
            if (cell.type == CellType::Blank && cell.formula == NoString) {
                continue;  // formatting alone: the converter may drop or keep it
            }
            ASSERT_NE(other, nullptr);
            if (cell.formula != NoString) {
                // No cached results in the source, so only the formula text is compared.
                EXPECT_EQ(CellText::Formula(*xls, *other).toStdString(),
                          CellText::Formula(*xlsx, cell).toStdString());
            } else {
                EXPECT_EQ(CellText::Text(*xls, *other).toStdString(),
                          CellText::Text(*xlsx, cell).toStdString());
            }
            ++compared;
        }
        const CellRect& range = actual.UsedRange();
        const CellRect& wanted = expected.UsedRange();
        EXPECT_EQ(std::tie(range.top, range.left, range.bottom, range.right),
                  std::tie(wanted.top, wanted.left, wanted.bottom, wanted.right))
            << stem.toStdString() << " sheet " << s + 1;
        ASSERT_EQ(actual.Notes().size(), expected.Notes().size());
        for (const CellNote& note : expected.Notes()) {
            const QString* other = actual.FindNote(note.row, note.column);
            ASSERT_NE(other, nullptr);
            EXPECT_EQ(other->toStdString(), note.text.toStdString());
        }
    }
    EXPECT_GT(compared, 0);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, XlsAgainstXlsx,
                         ::testing::Values("formulas", "notes", "strings", "values"));

}  // namespace
}  // namespace engine
