// The real .xls files of the shared fixture folder: every one opens (or is refused with the
// right error), and each word of the manifest is found in the manifest's cells with its
// formula and comment texts.
#include "engine/CellText.h"
#include "engine/EngineError.h"
#include "engine/Workbook.h"
#include "engine/xls/XlsReader.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <map>
#include <memory>
#include <set>

namespace engine {
namespace {

struct ManifestRow {
    QString word, file;
    int sheetNumber = 0;
    QString sheetName, cell, where, text, formula, comment;
};

// The manifest is RFC 4180 CSV: quoted fields may hold commas, quotes and line breaks.
std::vector<QStringList> ParseCsv(const QString& content) {
    std::vector<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < content.size(); ++i) {
        const QChar c = content[i];
        if (quoted) {
            if (c == u'"' && i + 1 < content.size() && content[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields.push_back(std::exchange(field, QString()));
        } else if (c == u'\n') {
            fields.push_back(std::exchange(field, QString()));
            records.push_back(std::exchange(fields, QStringList()));
        } else if (c != u'\r') {
            field += c;
        }
    }
    if (!field.isEmpty() || !fields.isEmpty()) {
        fields.push_back(field);
        records.push_back(fields);
    }
    return records;
}

std::vector<ManifestRow> XlsRows(const QString& dir) {
    QFile file(dir + QStringLiteral("/manifest.csv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<ManifestRow> rows;
    const auto records = ParseCsv(QString::fromUtf8(file.readAll()));
    for (size_t i = 1; i < records.size(); ++i) {
        const QStringList& r = records[i];
        if (r.size() == 9 && r[1].endsWith(QStringLiteral(".xls"))) {
            rows.push_back({r[0], r[1], r[2].toInt(), r[3], r[4], r[5], r[6], r[7], r[8]});
        }
    }
    return rows;
}

std::unique_ptr<Workbook> Open(const QString& path) {
    auto reader = std::make_unique<XlsReader>(path);
    XlsReader* raw = reader.get();
    auto book = std::make_unique<Workbook>(path, std::move(reader));
    raw->ReadWorkbook(*book);
    return book;
}

QString CellName(int row, int column) {
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26) {
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    }
    return letters + QString::number(row);
}

// Every cell of the sheet whose text for `where` holds `word`, ignoring case.
std::set<QString> Search(const Workbook& book, const Worksheet& sheet, const ManifestRow& row) {
    std::set<QString> found;
    if (row.where == QStringLiteral("comment")) {
        for (const CellNote& note : sheet.Notes()) {
            if (note.text.contains(row.word, Qt::CaseInsensitive)) {
                found.insert(CellName(note.row, note.column));
            }
        }
        return found;
    }
    for (const Cell& cell : sheet.Cells()) {
        const QString text = row.where == QStringLiteral("formula") ? CellText::Formula(book, cell)
                                                                    : CellText::Text(book, cell);
        if (text.contains(row.word, Qt::CaseInsensitive)) {
            found.insert(CellName(cell.row, cell.column));
        }
    }
    return found;
}

class XlsRealFixtures : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testsupport::RealFixturesDir();
        if (dir_.isEmpty()) {
            GTEST_SKIP() << "the shared real fixtures folder is absent";
        }
    }
    QString dir_;
};

TEST_F(XlsRealFixtures, EveryWorkbookOpensOrIsRefusedClearly) {
    const std::map<QString, EngineErrorKind> refused = {
        // A text file with an .xls name: the opener reads it as text, this reader refuses it.
        {QStringLiteral("calamine/too_small.xls"), EngineErrorKind::Damaged},
        {QStringLiteral("xlrd/biff4_no_format_no_window2.xls"), EngineErrorKind::Unsupported},
    };
    int opened = 0;
    for (const QString& folder : QDir(dir_).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& name :
             QDir(dir_ + u'/' + folder).entryList({QStringLiteral("*.xls")})) {
            const QString relative = folder + u'/' + name;
            SCOPED_TRACE(relative.toStdString());
            const auto expected = refused.find(relative);
            try {
                auto book = Open(dir_ + u'/' + relative);
                for (int i = 0; i < book->SheetCount(); ++i) {
                    book->Sheet(i);
                }
                EXPECT_EQ(expected, refused.end()) << "opened although it should be refused";
                ++opened;
            } catch (const EngineError& error) {
                ASSERT_NE(expected, refused.end()) << error.Detail().toStdString();
                EXPECT_EQ(error.Kind(), expected->second) << error.Detail().toStdString();
                EXPECT_TRUE(error.Message().contains(name)) << error.Message().toStdString();
            }
        }
    }
    EXPECT_GE(opened, 20);
}

TEST_F(XlsRealFixtures, EncryptedPackageIsPasswordProtected) {
    try {
        XlsReader reader(dir_ + QStringLiteral("/calamine/pass_protected.xlsx"));
        FAIL() << "opened";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.Kind(), EngineErrorKind::Encrypted);
        const QString path = dir_ + QStringLiteral("/calamine/pass_protected.xlsx");
        EXPECT_EQ(
            error.Message(),
            QStringLiteral("ファイル「%1」はパスワードで保護されているため開けません。").arg(path));
    }
}

// Where the formula bar keeps what the user typed and the manifest's engines do not.
const std::map<QString, QString> FormulaDifferences = {
    // The file stores the space after the comma (a space token); the formula bar shows it.
    {QStringLiteral("xlrd/namesdemo.xls Sheet3!A15"),
     QStringLiteral("=SUM(rectangle1, rectangle2)")},
};

TEST_F(XlsRealFixtures, ManifestWordsAreFoundWithTheirFormulaAndComment) {
    const auto rows = XlsRows(dir_);
    ASSERT_GT(rows.size(), 100u);
    std::map<QString, std::unique_ptr<Workbook>> books;
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(
            (row.file + u' ' + row.sheetName + u'!' + row.cell + u' ' + row.word).toStdString());
        auto& book = books[row.file];
        if (!book) {
            book = Open(dir_ + u'/' + row.file);
        }
        ASSERT_LE(row.sheetNumber, book->SheetCount());
        const Worksheet& sheet = book->Sheet(row.sheetNumber - 1);
        EXPECT_EQ(sheet.Name().toStdString(), row.sheetName.toStdString());
        const auto found = Search(*book, sheet, row);
        EXPECT_TRUE(found.count(row.cell)) << "word not found in the cell";
        const Cell* cell = nullptr;
        for (const Cell& candidate : sheet.Cells()) {
            if (CellName(candidate.row, candidate.column) == row.cell) {
                cell = &candidate;
            }
        }
        if (!row.formula.isEmpty()) {
            ASSERT_NE(cell, nullptr);
            const auto difference =
                FormulaDifferences.find(row.file + u' ' + row.sheetName + u'!' + row.cell);
            const QString expected =
                difference != FormulaDifferences.end() ? difference->second : row.formula;
            EXPECT_EQ(CellText::Formula(*book, *cell).toStdString(), expected.toStdString());
        }
        if (!row.comment.isEmpty()) {
            const QString* note = cell ? sheet.FindNote(cell->row, cell->column) : nullptr;
            ASSERT_NE(note, nullptr);
            EXPECT_EQ(note->toStdString(), row.comment.toStdString());
        }
        if (cell && cell->type == CellType::Text && row.where == QStringLiteral("value")) {
            EXPECT_EQ(CellText::Text(*book, *cell).toStdString(), row.text.toStdString());
        }
    }
}

}  // namespace
}  // namespace engine
