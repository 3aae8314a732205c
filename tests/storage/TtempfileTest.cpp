#include "storage/Ttempfile.h"

#include "tests/storage/ScopedEnv.h"
#include "tests/storage/TestFiles.h"

#include <QFileInfo>

namespace {

using storagetest::ScopedEnv;
using storagetest::TestDir;
using storagetest::WriteBytes;

TEST(TTempFile, ExistsEmptyForItsLifetimeInTheTemporaryDirectory) {
    const QString dir = TestDir();
    const ScopedEnv tmp("TMPDIR", dir.toUtf8().constData());
    QString name;
    {
        const TTempFile file;
        name = file.GetFileName();
        EXPECT_EQ(QFileInfo(name).absolutePath(), dir);
        EXPECT_TRUE(name.endsWith(QStringLiteral(".TMP")));
        EXPECT_TRUE(QFileInfo(name).isFile());
        EXPECT_EQ(QFileInfo(name).size(), 0);
    }
    EXPECT_FALSE(QFileInfo::exists(name));
}

TEST(TTempFile, TakesTheExtension) {
    const QString dir = TestDir();
    const TTempFile ini(QStringLiteral(".ini"), dir);
    EXPECT_TRUE(ini.GetFileName().endsWith(QStringLiteral(".ini")));
    EXPECT_TRUE(QFileInfo(ini.GetFileName()).isFile());
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 1);
}

}  // namespace
