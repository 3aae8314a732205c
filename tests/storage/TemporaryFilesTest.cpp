#include "storage/Exception.h"
#include "storage/Tfileutility.h"
#include "storage/Ttempfile.h"
#include "tests/storage/TestFiles.h"

#include <QFileInfo>
#include <set>

namespace {

using namespace storagetest;

TEST(TemporaryFiles, DistinctEmptyFilesInTheTemporaryDirectory) {
    const QString dir = TestDir();
    const ScopedEnv tmp("TMPDIR", dir.toUtf8().constData());
    EXPECT_EQ(GetTemporaryDirectory(), dir + u'/');
    std::set<QString> names;
    for (int i = 0; i < 10; ++i) {
        const QString name =
            CreateTemporaryFile(i % 2 == 0 ? QString() : dir, QStringLiteral("sv"));
        const QFileInfo info(name);
        EXPECT_TRUE(info.isFile() && info.size() == 0 && info.absolutePath() == dir);
        EXPECT_TRUE(info.fileName().startsWith("sv") && name.endsWith(".TMP")) << qPrintable(name);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 10u);
    try {
        CreateTemporaryFile(dir + QStringLiteral("/missing"), QString());
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("一時ファイルの作成に失敗しました。"));
    }
}

TEST(TemporaryFiles, TempFileLivesWithItsObjectAndTakesTheExtension) {
    const QString dir = TestDir();
    {
        const TTempFile plain(QString(), dir);
        const TTempFile ini(QStringLiteral(".ini"), dir);
        EXPECT_TRUE(plain.GetFileName().endsWith(".TMP") && ini.GetFileName().endsWith(".ini"));
        EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 2);
        EXPECT_EQ(QFileInfo(ini.GetFileName()).size(), 0);
    }
    EXPECT_TRUE(QDir(dir).isEmpty());
}

TEST(TemporaryFiles, RenameRefusesATakenName) {
    const QString a = TestDir() + QStringLiteral("/a");
    WriteBytes(a + ".TMP", "new");
    WriteBytes(a + ".ini", "old");
    EXPECT_FALSE(RenameWithoutReplacing(a + ".TMP", a + ".ini"));
    EXPECT_EQ(ReadBytes(a + ".ini"), "old");
    EXPECT_TRUE(RenameWithoutReplacing(a + ".TMP", a + ".txt"));
    EXPECT_EQ(ReadBytes(a + ".txt"), "new");
}

}  // namespace
