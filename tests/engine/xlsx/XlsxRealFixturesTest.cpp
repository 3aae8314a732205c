// The real .xlsx files of the shared fixture folder: every one opens (the encrypted one is
// refused as password protected), and each word of the manifest is found in the manifest's
// cells, with their displayed, formula and comment texts.
#include "engine/CellText.h"
#include "engine/EngineError.h"
#include "engine/Workbook.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <map>
#include <memory>

namespace engine {
namespace {

struct ManifestRow {
    QString word, file;
    int sheetNumber = 0;
    QString sheetName, cell, where, text, formula, comment;
};

// RFC 4180: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<QStringList> ParseCsv(const QString& content) {
    std::vector<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < content.size(); ++i) {
        const QChar c = content[i];
        if (quoted && c == u'"' && i + 1 < content.size() && content[i + 1] == u'"') {
            field += u'"';
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u',') {
            fields.push_back(std::exchange(field, QString()));
        } else if (!quoted && c == u'\n') {
            fields.push_back(std::exchange(field, QString()));
            records.push_back(std::exchange(fields, QStringList()));
        } else if (quoted || c != u'\r') {
            field += c;
        }
    }
    return records;
}

std::vector<ManifestRow> XlsxRows(const QString& dir) {
    QFile file(dir + QStringLiteral("/manifest.csv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<ManifestRow> rows;
    const auto records = ParseCsv(QString::fromUtf8(file.readAll()));
    for (size_t i = 1; i < records.size(); ++i) {
        const QStringList& r = records[i];
        if (r.size() == 9 && (r[1].endsWith(u".xlsx") || r[1].endsWith(u".xlsm"))) {
            rows.push_back({r[0], r[1], r[2].toInt(), r[3], r[4], r[5], r[6], r[7], r[8]});
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
                EXPECT_EQ(error.Kind(), EngineErrorKind::Encrypted) << error.Detail().toStdString();
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

int RowOf(const QString& cell, int& column) {
    qsizetype i = 0;
    column = 0;
    while (i < cell.size() && cell[i].isLetter()) {
        column = column * 26 + (cell[i].unicode() - u'A' + 1);
        ++i;
    }
    return cell.mid(i).toInt();
}

TEST(XlsxRealFixtures, ManifestCellsHoldTheirWords) {
    const QString dir = testsupport::RealFixturesDir();
    if (dir.isEmpty()) {
        GTEST_SKIP() << "the shared real fixture folder is absent";
    }
    const auto rows = XlsxRows(dir);
    ASSERT_GT(rows.size(), 50u);
    std::map<QString, std::unique_ptr<Workbook>> books;
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(
            (row.file + u'!' + row.cell + QStringLiteral(" word ") + row.word).toStdString());
        auto& book = books[row.file];
        if (!book) {
            book = OpenWorkbook(dir + u'/' + row.file);
        }
        ASSERT_GE(book->SheetCount(), row.sheetNumber);
        Worksheet& sheet = book->Sheet(row.sheetNumber - 1);
        EXPECT_EQ(sheet.Name(), row.sheetName);
        int column = 0;
        const int r = RowOf(row.cell, column);
        const Cell* cell = sheet.FindCell(r, column);
        const QString text = cell ? CellText::Text(*book, *cell) : QString();
        const QString formula = cell ? CellText::Formula(*book, *cell) : QString();
        const QString* note = sheet.FindNote(r, column);
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
