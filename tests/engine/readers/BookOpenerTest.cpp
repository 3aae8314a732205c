// Picking the reader by content and the errors for files no reader takes.
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/BookOpener.h"
#include "tests/engine/readers/BookDump.h"
#include "tests/engine/readers/xlsx/TestPackage.h"
#include "tests/support/ScratchFile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>

namespace {

using engine::EngineError;
using engine::EngineErrorKind;
using engine::ReadErrorCode;

QString Write(const QString& name, const QByteArray& bytes) {
    return testsupport::WriteScratchFile(name, bytes);
}

struct Rejected {
    const char* name;
    QByteArray bytes;
    ReadErrorCode code;
};

class BookOpenerRejects : public testing::TestWithParam<Rejected> {};

TEST_P(BookOpenerRejects, WithTheKindAndTheFileName) {
    const QString path = Write(QString::fromUtf8(GetParam().name), GetParam().bytes);
    try {
        engine::OpenWorkbook(path);
        FAIL() << "opened";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Code(), GetParam().code);
        EXPECT_TRUE(e.Message().contains(QString::fromUtf8(GetParam().name)))
            << e.Message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BookOpenerRejects,
    testing::Values(Rejected{"空.xlsx", QByteArray(), ReadErrorCode::NotAWorkbook},
                    Rejected{"text.xlsm", QByteArray("a,b\n"), ReadErrorCode::NotAWorkbook},
                    Rejected{"garbage.xlsb", QByteArray(100, '\x7F'), ReadErrorCode::NotAWorkbook},
                    Rejected{"biff4.xls", QByteArray("\x09\x04\x06\x00\x00\x00\x10\x00", 8),
                             ReadErrorCode::OldBiffWorksheet},
                    Rejected{"biff2.csv", QByteArray("\x09\x00\x04\x00\x02\x00\x10\x00", 8),
                             ReadErrorCode::OldBiffWorksheet}));

TEST(BookOpener, EachKindOfRefusalHasItsMessage) {
    const QString old =
        Write(QStringLiteral("old.xls"), QByteArray("\x09\x04\x06\x00\x00\x00\x10\x00", 8));
    const QString text = Write(QStringLiteral("text.xlsx"), QByteArray("a,b\n"));
    const auto message = [](const QString& path) {
        try {
            engine::OpenWorkbook(path);
        } catch (const EngineError& e) {
            return e.Message();
        }
        return QString();
    };
    EXPECT_EQ(
        message(old),
        QStringLiteral("ファイル「%1」は古い形式 (Excel 4.0 以前) のため開けません。").arg(old));
    EXPECT_EQ(message(text),
              QStringLiteral("ファイル「%1」は壊れているため開けません。").arg(text));
}

TEST(BookOpener, MissingFileAndFolderAreReported) {
    const QString missing = testsupport::ScratchDir() + QStringLiteral("/none.csv");
    try {
        engine::OpenWorkbook(missing);
        FAIL() << "opened";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Code(), ReadErrorCode::FileNotFound);
    }
    const QString folder = testsupport::ScratchDir() + QStringLiteral("/folder.csv");
    QDir().mkpath(folder);
    try {
        engine::OpenWorkbook(folder);
        FAIL() << "opened";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.Code(), ReadErrorCode::NotRegularFile);
        EXPECT_EQ(e.Kind(), EngineErrorKind::CannotRead);
    }
}

// One thread reads a large sheet in one pass and inflates its member inline; two split the
// sheet and inflate ahead. Either way the workbook is the same.
TEST(BookOpener, OneThreadReadsWhatTwoRead) {
    std::string rows;
    for (int row = 1; row <= 6000; ++row) {
        const std::string r = std::to_string(row);
        rows += "<row r=\"" + r + "\"><c r=\"A" + r + "\"><v>" + r + "</v></c><c r=\"B" + r +
                "\" t=\"inlineStr\"><is><t>text " + r + "</t></is></c><c r=\"C" + r + "\"><f>A" +
                r + "*2</f><v>" + std::to_string(row * 2) + "</v></c></row>";
    }
    const QString path = testpackage::WriteFile(QStringLiteral("threads.xlsx"),
                                                testpackage::Zip(testpackage::Workbook(rows)));
    auto two = engine::OpenWorkbook(path);
    auto one = engine::OpenWorkbook(path, engine::ReadPolicy::OneThread());
    const std::string dumped = testbook::DumpBook(*two);
    EXPECT_EQ(testbook::DumpBook(*one), dumped);
    EXPECT_NE(dumped.find("6000,3"), std::string::npos);
}

TEST(BookOpener, TextUnderAnyOtherNameIsReadAsCsv) {
    for (const char* name : {"list.csv", "list.txt", "LIST.CSV", "saved-as-text.xls"}) {
        const auto book = engine::OpenWorkbook(Write(QString::fromLatin1(name), "a,b\n"));
        ASSERT_EQ(book->SheetCount(), 1);
        EXPECT_EQ(book->Sheet(0).Cells().size(), 2u);
    }
}

}  // namespace
