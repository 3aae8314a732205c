// Picking the reader by content and the errors for files no reader takes.
#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/BookOpener.h"
#include "tests/support/ScratchFile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>

namespace {

using engine::EngineError;
using engine::EngineErrorKind;

QString Write(const QString& name, const QByteArray& bytes) {
    return testsupport::WriteScratchFile(name, bytes);
}

struct Rejected {
    const char* name;
    QByteArray bytes;
    EngineErrorKind kind;
};

class BookOpenerRejects : public testing::TestWithParam<Rejected> {};

TEST_P(BookOpenerRejects, WithTheKindAndTheFileName) {
    const QString path = Write(QString::fromUtf8(GetParam().name), GetParam().bytes);
    try {
        engine::OpenWorkbook(path);
        FAIL() << "opened";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Kind(), GetParam().kind);
        EXPECT_TRUE(e.Message().contains(QString::fromUtf8(GetParam().name)))
            << e.Message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BookOpenerRejects,
    testing::Values(Rejected{"空.xlsx", QByteArray(), EngineErrorKind::Damaged},
                    Rejected{"text.xlsm", QByteArray("a,b\n"), EngineErrorKind::Damaged},
                    Rejected{"garbage.xlsb", QByteArray(100, '\x7F'), EngineErrorKind::Damaged},
                    Rejected{"biff4.xls", QByteArray("\x09\x04\x06\x00\x00\x00\x10\x00", 8),
                             EngineErrorKind::Unsupported},
                    Rejected{"biff2.csv", QByteArray("\x09\x00\x04\x00\x02\x00\x10\x00", 8),
                             EngineErrorKind::Unsupported}));

TEST(BookOpener, MissingFileAndFolderAreReported) {
    const QString missing = testsupport::ScratchDir() + QStringLiteral("/none.csv");
    try {
        engine::OpenWorkbook(missing);
        FAIL() << "opened";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Kind(), EngineErrorKind::FileNotFound);
    }
    const QString folder = testsupport::ScratchDir() + QStringLiteral("/folder.csv");
    QDir().mkpath(folder);
    try {
        engine::OpenWorkbook(folder);
        FAIL() << "opened";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Kind(), EngineErrorKind::CannotRead);
    }
}

TEST(BookOpener, TextUnderAnyOtherNameIsReadAsCsv) {
    for (const char* name : {"list.csv", "list.txt", "LIST.CSV", "saved-as-text.xls"}) {
        const auto book = engine::OpenWorkbook(Write(QString::fromLatin1(name), "a,b\n"));
        ASSERT_EQ(book->SheetCount(), 1);
        EXPECT_EQ(book->Sheet(0).Cells().size(), 2u);
    }
}

}  // namespace
