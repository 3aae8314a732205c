// Workbooks read ahead on other threads must come out exactly as an Open on the spot reads
// them, and a file that fails must fail at its own Open with the error it always raises.
#include "engine/model/EngineError.h"
#include "engine/readers/BookOpener.h"
#include "engine/readers/BookReadAhead.h"
#include "tests/engine/readers/BookDump.h"
#include "tests/engine/readers/xlsx/TestPackage.h"
#include "tests/support/ScratchFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace engine {
namespace {

// `count` rows of a number, a shared string and a shared formula: over 32 KiB for 3000 rows,
// so the sheet is inflated whole and could be read on two threads.
std::string Rows(int count) {
    std::string rows;
    for (int row = 1; row <= count; ++row) {
        const std::string r = std::to_string(row);
        rows += "<row r=\"" + r + "\"><c r=\"A" + r + "\"><v>" + r + ".25</v></c><c r=\"B" + r +
                "\" t=\"s\"><v>" + std::to_string(row % 2) + "</v></c><c r=\"C" + r + "\"><f" +
                (row == 1 ? " t=\"shared\" ref=\"C1:C" + std::to_string(count) + "\" si=\"0\">A1*2"
                          : " t=\"shared\" si=\"0\">") +
                "</f><v>" + std::to_string(row * 2) + "</v></c></row>";
    }
    return rows;
}

QString Xlsx(const QString& name, int rows) {
    return testpackage::WriteFile(name,
                                  testpackage::Zip(testpackage::Workbook(
                                      Rows(rows), "<si><t>even</t></si><si><t>odd 検索</t></si>")));
}

QString Csv(const QString& name, const QByteArray& text) {
    return testsupport::WriteScratchFile(name, text);
}

// The message Open raises for `path`, or nothing when it opens.
std::optional<QString> OpenError(const std::function<void()>& open) {
    try {
        open();
    } catch (const EngineError& error) {
        return error.Message();
    }
    return std::nullopt;
}

class BookReadAheadTest : public testing::Test {
protected:
    void ExpectSameAsOpenedDirectly(BookReadAhead& ahead, const QString& path) {
        const std::string direct = testbook::DumpBook(*OpenWorkbook(path));
        EXPECT_EQ(testbook::DumpBook(*ahead.Open(path)), direct) << path.toStdString();
        EXPECT_NE(direct.find("\n1,1 "), std::string::npos) << "no cells in " << direct;
    }

    const QString small_ = Xlsx(QStringLiteral("ahead-small.xlsx"), 20);
    const QString large_ = Xlsx(QStringLiteral("ahead-large.xlsx"), 3000);
    const QString largeToo_ = Xlsx(QStringLiteral("ahead-large2.xlsx"), 2500);
    const QString csv_ = Csv(QStringLiteral("ahead-a.csv"), "品名,数量\nりんご,3\n");
    const QString csvToo_ = Csv(QStringLiteral("ahead-b.csv"), "x,=1+2\n");
    const QString broken_ = testsupport::WriteScratchFile(QStringLiteral("ahead-broken.xlsx"),
                                                          "PK\x03\x04"
                                                          "broken");
};

TEST_F(BookReadAheadTest, BooksComeOutAsOpenedDirectly) {
    const QStringList paths = {csv_, large_, small_, largeToo_, csvToo_, large_};
    BookReadAhead ahead;
    for (const QString& path : paths) {
        ahead.Add(path);
    }
    for (const QString& path : paths) {
        ExpectSameAsOpenedDirectly(ahead, path);
    }
}

TEST_F(BookReadAheadTest, AFailedFileRaisesItsOwnErrorAtItsOpenAndTheNextOnesStillOpen) {
    const std::optional<QString> direct = OpenError([&] { OpenWorkbook(broken_); });
    ASSERT_TRUE(direct.has_value());
    BookReadAhead ahead;
    for (const QString& path : {small_, broken_, large_, csv_}) {
        ahead.Add(path);
    }
    ExpectSameAsOpenedDirectly(ahead, small_);
    EXPECT_EQ(OpenError([&] { ahead.Open(broken_); }), direct);
    ExpectSameAsOpenedDirectly(ahead, large_);
    ExpectSameAsOpenedDirectly(ahead, csv_);
}

TEST_F(BookReadAheadTest, PathsOpenedOutOfOrderOrNeverAddedAreOpenedOnTheSpot) {
    BookReadAhead ahead;
    for (const QString& path : {csv_, small_, large_}) {
        ahead.Add(path);
    }
    ExpectSameAsOpenedDirectly(ahead, large_);  // drops the two before it
    ExpectSameAsOpenedDirectly(ahead, csv_);
    ExpectSameAsOpenedDirectly(ahead, csvToo_);
    const QString missing = testsupport::ScratchDir() + QStringLiteral("/ahead-missing.csv");
    EXPECT_EQ(OpenError([&] { ahead.Open(missing); }), OpenError([&] { OpenWorkbook(missing); }));
}

TEST_F(BookReadAheadTest, AfterStopNothingIsReadAheadAndOpenStillWorks) {
    BookReadAhead ahead;
    for (int i = 0; i < 8; ++i) {
        ahead.Add(i % 2 ? large_ : largeToo_);
    }
    ahead.Stop();
    ahead.Add(small_);
    ExpectSameAsOpenedDirectly(ahead, largeToo_);
    ExpectSameAsOpenedDirectly(ahead, small_);
}

}  // namespace
}  // namespace engine
