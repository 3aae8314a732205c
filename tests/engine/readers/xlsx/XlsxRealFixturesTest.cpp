// The real .xlsx files of the shared fixture folder: every one opens (the encrypted one is
// refused as password protected), and each word of the manifest is found in the manifest's
// cells, with their displayed, formula and comment texts.
#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/BookOpener.h"
#include "tests/support/RealManifest.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <map>
#include <memory>

namespace engine {
namespace {

std::vector<testsupport::ManifestRow> XlsxRows() {
    std::vector<testsupport::ManifestRow> rows;
    for (auto& row : testsupport::ReadRealManifest()) {
        if (row.file.endsWith(u".xlsx") || row.file.endsWith(u".xlsm")) {
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

TEST(XlsxRealFixtures, EveryWorkbookOpensOrIsRefusedAsProtected) {
    const QString dir = testsupport::RealFixturesDir();
    if (dir.isEmpty()) {
        GTEST_SKIP() << "the shared real fixture folder is absent";
    }
    QDirIterator it(dir, {QStringLiteral("*.xlsx"), QStringLiteral("*.xlsm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int opened = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        if (path.endsWith(u"pass_protected.xlsx")) {
            try {
                OpenWorkbook(path);
                ADD_FAILURE() << "an encrypted workbook opened";
            } catch (const EngineError& error) {
                EXPECT_EQ(error.Code(), ReadErrorCode::EncryptedPackage)
                    << error.Detail().toStdString();
                EXPECT_TRUE(error.Message().contains(u"パスワード"))
                    << error.Message().toStdString();
            }
            continue;
        }
        try {
            const auto book = OpenWorkbook(path);
            for (int i = 0; i < book->SheetCount(); ++i) {
                book->Sheet(i);
            }
            ++opened;
        } catch (const EngineError& error) {
            ADD_FAILURE() << error.Message().toStdString() << " / " << error.Detail().toStdString();
        }
    }
    EXPECT_GE(opened, 40);
}

TEST(XlsxRealFixtures, ManifestCellsHoldTheirWords) {
    const QString dir = testsupport::RealFixturesDir();
    if (dir.isEmpty()) {
        GTEST_SKIP() << "the shared real fixture folder is absent";
    }
    const auto rows = XlsxRows();
    ASSERT_GT(rows.size(), 50u);
    std::map<QString, std::unique_ptr<Workbook>> books;
    for (const testsupport::ManifestRow& row : rows) {
        SCOPED_TRACE(
            (row.file + u'!' + row.cell + QStringLiteral(" word ") + row.word).toStdString());
        auto& book = books[row.file];
        if (!book) {
            book = OpenWorkbook(dir + u'/' + row.file);
        }
        ASSERT_GE(book->SheetCount(), row.sheetNumber);
        Worksheet& sheet = book->Sheet(row.sheetNumber - 1);
        EXPECT_EQ(sheet.Name(), row.sheetName);
        const Cell* cell = sheet.FindCell(row.row, row.column);
        const QString text = cell ? CellText::Text(*book, *cell) : QString();
        const QString formula = cell ? CellText::Formula(*book, *cell) : QString();
        const QString* note = sheet.FindNote(row.row, row.column);
        const QString comment = note ? *note : QString();

        // Every displayed text agrees with the manifest: the dates in these files carry
        // their own codes (yyyy-mm-dd), not the locale's short date.
        EXPECT_EQ(text, row.text);
        if (!row.formula.isEmpty()) {
            EXPECT_EQ(formula, row.formula);
        }
        EXPECT_EQ(comment, row.comment);
        const QString& searched = row.where == u"comment"   ? comment
                                  : row.where == u"formula" ? formula
                                                            : text;
        EXPECT_TRUE(searched.contains(row.word, Qt::CaseInsensitive))
            << "looking in " << row.where.toStdString() << ": " << searched.toStdString();
    }
}

}  // namespace
}  // namespace engine
