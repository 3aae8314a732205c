// Files that are not what their names say, or that change under the reader: a FIFO or a
// device named like a workbook is refused at once instead of blocking the run, and a
// workbook truncated after it was opened is read from the bytes read at the open.
#include "engine/model/EngineError.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/BookOpener.h"
#include "engine/readers/WorkbookFile.h"
#include "tests/engine/readers/xlsx/TestPackage.h"
#include "tests/support/ScratchFile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

using engine::EngineError;
using engine::ReadError;
using engine::ReadErrorCode;

QString Fifo(const QString& name) {
    const QString path = testsupport::ScratchDir() + u'/' + name;
    QFile::remove(path);
    EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

std::optional<ReadErrorCode> OpenFails(const QString& path) {
    try {
        engine::OpenWorkbook(path);
    } catch (const EngineError& error) {
        EXPECT_TRUE(error.Message().contains(QFileInfo(path).fileName()))
            << error.Message().toStdString();
        return error.Code();
    }
    return std::nullopt;
}

TEST(WorkbookFile, OnlyRegularFilesAreOpenedAndNothingBlocks) {
    // Nobody writes to these FIFOs: a blocking open would hang the test.
    const QString fifo = Fifo(QStringLiteral("pipe.xlsx"));
    EXPECT_EQ(OpenFails(fifo), ReadErrorCode::NotRegularFile);
    const QString link = testsupport::ScratchDir() + QStringLiteral("/link.csv");
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(Fifo(QStringLiteral("target.fifo")), link));
    EXPECT_EQ(OpenFails(link), ReadErrorCode::NotRegularFile);
    EXPECT_EQ(OpenFails(QStringLiteral("/dev/zero")), ReadErrorCode::NotRegularFile);
    EXPECT_EQ(OpenFails(testsupport::ScratchDir() + QStringLiteral("/none.xls")),
              ReadErrorCode::FileNotFound);
}

// A run meets thousands of files; a refused one must not keep its descriptor.
TEST(WorkbookFile, RefusedFilesLeaveNoDescriptorOpen) {
    const auto openDescriptors = [] {
        return QDir(QStringLiteral("/proc/self/fd"))
            .entryList(QDir::NoDotAndDotDot | QDir::System)
            .size();
    };
    const QString fifo = Fifo(QStringLiteral("again.xls"));
    const qsizetype before = openDescriptors();
    for (int i = 0; i < 50; ++i) {
        EXPECT_THROW(engine::WorkbookFile::Head(fifo, 8), ReadError);
        EXPECT_THROW(engine::WorkbookFile::ReadAll(QStringLiteral("/dev/null"), 8), ReadError);
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST(WorkbookFile, ReadsWholeWithinTheLimitAndRefusesBeyond) {
    const QString path = testsupport::WriteScratchFile(QStringLiteral("ten.csv"), "0123456789");
    EXPECT_EQ(engine::WorkbookFile::ReadAll(path, 10), QByteArray("0123456789"));
    EXPECT_EQ(engine::WorkbookFile::Head(path, 4), QByteArray("0123"));
    EXPECT_EQ(engine::WorkbookFile::Head(path, 40), QByteArray("0123456789"));
    try {
        engine::WorkbookFile::ReadAll(path, 9);
        FAIL() << "read past the limit";
    } catch (const ReadError& error) {
        EXPECT_EQ(error.Code(), ReadErrorCode::FileTooLarge);
        EXPECT_EQ(error.Where().found, 10);
    }
}

// A mapped file that shrinks kills the process with SIGBUS when a later sheet is read.
TEST(WorkbookFile, AWorkbookTruncatedAfterItsOpenIsReadFromWhatWasRead) {
    std::string rows;
    for (int row = 1; row <= 2000; ++row) {
        rows += "<row r=\"" + std::to_string(row) + "\"><c r=\"A" + std::to_string(row) +
                "\" t=\"inlineStr\"><is><t>needle " + std::to_string(row) + "</t></is></c></row>";
    }
    const QString path = testpackage::WriteFile(QStringLiteral("shrinking.xlsx"),
                                                testpackage::Zip(testpackage::Workbook(rows)));
    const auto book = engine::OpenWorkbook(path);
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), 100), 0);
    EXPECT_EQ(book->Sheet(0).Cells().size(), 2000u);
}

}  // namespace
