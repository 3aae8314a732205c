// Whole .csv files through the reader: the sheet it makes, the used range, and hostile input
// that must end in the engine's error or a harmless sheet, never a crash.
#include "engine/model/CellText.h"
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/csv/CsvReader.h"
#include "tests/support/ScratchFile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QRandomGenerator>
#include <optional>

namespace {

using engine::CsvLimits;
using engine::CsvReader;
using engine::EngineError;
using engine::ReadError;
using engine::ReadErrorCode;

QString Write(const QString& name, const QByteArray& bytes) {
    return testsupport::WriteScratchFile(name, bytes);
}

std::unique_ptr<engine::Workbook> Read(const QString& path, CsvLimits limits = {}) {
    auto reader = std::make_unique<CsvReader>(path, limits);
    CsvReader& r = *reader;
    auto book = std::make_unique<engine::Workbook>(path, std::move(reader));
    r.ReadWorkbook(*book);
    book->Sheet(0);
    return book;
}

// Reading the file raises ReadError; reading the sheet through the workbook, EngineError.
std::optional<ReadErrorCode> ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ReadError& e) {
        return e.Code();
    } catch (const EngineError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
        return e.Code();
    }
    return std::nullopt;
}

TEST(CsvReader, OneSheetNamedAfterTheFileWithRaggedRows) {
    auto book = Read(Write(QStringLiteral("顧客一覧.2024.csv"), "a,b,c\nd\n,,,x\n"));
    ASSERT_EQ(book->SheetCount(), 1);
    EXPECT_EQ(book->SheetName(0), QStringLiteral("顧客一覧.2024"));
    const engine::Worksheet& sheet = book->Sheet(0);
    EXPECT_EQ(sheet.Cells().size(), 5u);
    EXPECT_EQ(sheet.UsedRange().bottom, 3);
    EXPECT_EQ(sheet.UsedRange().right, 4);
    const engine::Cell* x = sheet.FindCell(3, 4);
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(engine::CellText::Text(*book, *x), QStringLiteral("x"));
}

TEST(CsvReader, LongNamesAreCutToThe31CharactersOfASheetName) {
    auto book = Read(Write(QString(40, u'長') + QStringLiteral(".csv"), "a"));
    EXPECT_EQ(book->SheetName(0), QString(31, u'長'));
}

TEST(CsvReader, EmptyFieldsCreateNoCellsAndDoNotWidenTheUsedRange) {
    auto book = Read(Write(QStringLiteral("sparse.csv"), ",,\n,b,\n,,\n\n"));
    const engine::Worksheet& sheet = book->Sheet(0);
    ASSERT_EQ(sheet.Cells().size(), 1u);
    EXPECT_EQ(sheet.UsedRange().top, 2);
    EXPECT_EQ(sheet.UsedRange().left, 2);
    EXPECT_EQ(sheet.UsedRange().bottom, 2);
    EXPECT_EQ(sheet.UsedRange().right, 2);
}

TEST(CsvReaderBadInput, HarmlessFilesGiveHarmlessSheets) {
    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator random(1234);
    for (char& c : garbage) {
        c = static_cast<char>(random.bounded(256));
    }
    const std::vector<std::pair<const char*, QByteArray>> files = {
        {"empty.csv", QByteArray()},
        {"quotes.csv", QByteArray(10000, '"')},
        {"nuls.csv", QByteArray(1000, '\0')},
        {"garbage.csv", garbage},
        {"bad-utf8.csv", QByteArray("\xEF\xBB\xBF\xC3\x28,\xFF\xFE\n")},
        {"crlf-only.csv", QByteArray("\r\n\r\n\r\r\n")},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        EXPECT_NO_THROW(Read(Write(QString::fromLatin1(name), bytes)));
    }
}

TEST(CsvReaderBadInput, OneEnormousFieldIsCutNotKept) {
    // One line, one field of 4 MB: stored as the application's 32,767 characters.
    auto book = Read(Write(QStringLiteral("one-line.csv"), QByteArray(4 << 20, 'x')));
    const engine::Worksheet& sheet = book->Sheet(0);
    ASSERT_EQ(sheet.Cells().size(), 1u);
    EXPECT_EQ(book->String(sheet.Cells()[0].text).size(), 32767);
}

TEST(CsvReaderBadInput, LimitsRaiseTooLarge) {
    const QString big = Write(QStringLiteral("big.csv"), QByteArray(5000, 'a'));
    EXPECT_EQ(ErrorOf([&] { Read(big, {4096, 100}); }), ReadErrorCode::FileTooLarge);

    QByteArray many;
    for (int i = 0; i < 200; ++i) {
        many += "1,2,3\n";
    }
    const QString cells = Write(QStringLiteral("cells.csv"), many);
    EXPECT_EQ(ErrorOf([&] { Read(cells, {1 << 20, 100}); }), ReadErrorCode::TooManyCells);

    QByteArray wide(engine::MaxColumns, ',');
    wide += 'x';
    EXPECT_EQ(ErrorOf([&] { Read(Write(QStringLiteral("wide.csv"), wide)); }),
              ReadErrorCode::CsvFieldOutsideSheet);
}

TEST(CsvReaderBadInput, UnreadableFileRaisesCannotRead) {
    const QString path = Write(QStringLiteral("locked.csv"), "a");
    QFile::setPermissions(path, QFileDevice::Permissions());
    if (QFile(path).open(QIODevice::ReadOnly)) {
        GTEST_SKIP() << "running with rights that ignore file permissions";
    }
    EXPECT_EQ(ErrorOf([&] { Read(path); }), ReadErrorCode::FileUnreadable);
}

}  // namespace
