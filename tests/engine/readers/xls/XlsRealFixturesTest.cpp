// The real .xls files of the shared fixture folder: every one opens with all its sheets, or
// is refused with the right error. (Searching the manifest's words in them, with formula and
// comment texts, is RealFixturesSearchTest's work, through the automation wrappers.)
#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xls/XlsReader.h"
#include "tests/engine/readers/ReaderBook.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <map>
#include <memory>

namespace engine {
namespace {

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
    const std::map<QString, ReadErrorCode> refused = {
        // A text file with an .xls name: the opener reads it as text, this reader refuses it.
        {QStringLiteral("calamine/too_small.xls"), ReadErrorCode::CfbNoHeader},
        {QStringLiteral("xlrd/biff4_no_format_no_window2.xls"), ReadErrorCode::OldBiffWorksheet},
    };
    int opened = 0;
    for (const QString& folder : QDir(dir_).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& name :
             QDir(dir_ + u'/' + folder).entryList({QStringLiteral("*.xls")})) {
            const QString relative = folder + u'/' + name;
            SCOPED_TRACE(relative.toStdString());
            const auto expected = refused.find(relative);
            try {
                auto book = OpenWith<XlsReader>(dir_ + u'/' + relative);
                for (int i = 0; i < book->SheetCount(); ++i) {
                    book->Sheet(i);
                }
                EXPECT_EQ(expected, refused.end()) << "opened although it should be refused";
                ++opened;
            } catch (const EngineError& error) {
                ASSERT_NE(expected, refused.end()) << error.Detail().toStdString();
                EXPECT_EQ(error.Code(), expected->second) << error.Detail().toStdString();
                EXPECT_TRUE(error.Message().contains(name)) << error.Message().toStdString();
            }
        }
    }
    EXPECT_GE(opened, 20);
}

TEST_F(XlsRealFixtures, EncryptedPackageIsPasswordProtected) {
    try {
        OpenWith<XlsReader>(dir_ + QStringLiteral("/calamine/pass_protected.xlsx"));
        FAIL() << "opened";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.Code(), ReadErrorCode::EncryptedPackage);
        const QString path = dir_ + QStringLiteral("/calamine/pass_protected.xlsx");
        EXPECT_EQ(
            error.Message(),
            QStringLiteral("ファイル「%1」はパスワードで保護されているため開けません。").arg(path));
    }
}

}  // namespace
}  // namespace engine
