#include "storage/Tfileutility.h"

#include "storage/Exception.h"
#include "tests/storage/ScopedEnv.h"
#include "tests/storage/TestFiles.h"

#include <QFileInfo>
#include <set>

namespace {

using storagetest::ScopedEnv;
using storagetest::TestDir;

TEST(TemporaryDirectory, IsTmpdirOrTmpWithOneTrailingSlash) {
    {
        const ScopedEnv tmp("TMPDIR", "/var/scratch");
        EXPECT_EQ(GetTemporaryDirectory(), QStringLiteral("/var/scratch/"));
    }
    {
        const ScopedEnv tmp("TMPDIR", "/var/scratch/");
        EXPECT_EQ(GetTemporaryDirectory(), QStringLiteral("/var/scratch/"));
    }
    const ScopedEnv tmp("TMPDIR", nullptr);
    EXPECT_EQ(GetTemporaryDirectory(), QStringLiteral("/tmp/"));
}

TEST(CreateTemporaryFile, CreatesDistinctEmptyFilesEndingInTmp) {
    const QString dir = TestDir();
    const ScopedEnv tmp("TMPDIR", dir.toUtf8().constData());
    std::set<QString> names;
    for (int i = 0; i < 20; ++i) {
        const QString name =
            CreateTemporaryFile(i % 2 == 0 ? QString() : dir, QStringLiteral("sv"));
        const QFileInfo info(name);
        EXPECT_EQ(info.absolutePath(), dir);
        EXPECT_TRUE(info.isFile());
        EXPECT_EQ(info.size(), 0);
        EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("sv")));
        EXPECT_TRUE(name.endsWith(QStringLiteral(".TMP")));
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 20u);
}

TEST(CreateTemporaryFile, MissingFolderRaisesTheFixedMessage) {
    try {
        CreateTemporaryFile(TestDir() + QStringLiteral("/missing"), QString());
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("一時ファイルの作成に失敗しました。"));
    }
}

TEST(RenameWithoutReplacing, RefusesATakenNameAndKeepsBothFiles) {
    const QString dir = TestDir();
    const QString from = dir + QStringLiteral("/a.TMP");
    const QString to = dir + QStringLiteral("/a.ini");
    storagetest::WriteBytes(from, "new");
    storagetest::WriteBytes(to, "old");
    EXPECT_FALSE(RenameWithoutReplacing(from, to));
    EXPECT_EQ(storagetest::ReadBytes(from), "new");
    EXPECT_EQ(storagetest::ReadBytes(to), "old");
    ASSERT_TRUE(QFile::remove(to));
    EXPECT_TRUE(RenameWithoutReplacing(from, to));
    EXPECT_EQ(storagetest::ReadBytes(to), "new");
}

}  // namespace
