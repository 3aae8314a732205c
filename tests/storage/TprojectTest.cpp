#include "storage/Tproject.h"

#include "storage/Exception.h"
#include "tests/storage/TestFiles.h"

namespace {

using namespace storagetest;

TEST(TProject, DefaultProjectIsWrittenExactly) {
    const QString path = TestDir() + QStringLiteral("/default.SVZ");
    TProject project;
    project.Save(path);
    EXPECT_EQ(ReadBytes(path),
              "[SYSTEM]\r\nVersion=0\r\n\r\n[SEARCH]\r\nDir=\r\nIsSearchSubDir=0\r\nWord=\r\n"
              "SearchOrder=0\r\nFindLookIn=0\r\nMatchCase=0\r\nMatchByte=1\r\nLookAt=0\r\n"
              "Ext=0,1,2\r\n\r\n");
    EXPECT_EQ(project.FileName, path);
}

TEST(TProject, SaveThenLoadRestoresTheConditionsAndKeepsOtherSections) {
    const QString path = TestDir() + QStringLiteral("/検索.SVZ");
    WriteBytes(path, "[Notes]\r\nby=hand\r\n");
    TProject saved;
    saved.Dir = QStringLiteral("/データ/帳票");
    saved.IsSearchSubDir = saved.MatchCase = saved.LookAt = true;
    saved.Word = QStringLiteral("  abc");
    saved.MatchByte = false;
    saved.Ext = {2, 0};
    saved.Save(path);
    TProject loaded;
    loaded.Load(path);
    EXPECT_EQ(loaded.FileName, path);
    EXPECT_EQ(loaded.Dir, saved.Dir);
    EXPECT_EQ(loaded.Word, QStringLiteral("abc"));  // values are trimmed on reading
    EXPECT_TRUE(loaded.IsSearchSubDir && loaded.MatchCase && loaded.LookAt && !loaded.MatchByte);
    EXPECT_EQ(loaded.ExtText(), QStringLiteral("0,2"));
    EXPECT_TRUE(ReadBytes(path).startsWith("[Notes]\r\nby=hand\r\n\r\n[SYSTEM]"));
}

TEST(TProject, LoadReadsHandEditedValues) {
    const QString path = TestDir() + QStringLiteral("/p.SVZ");
    TProject project;
    const struct {
        const char* ext;  // null: no Ext key
        std::set<int32_t> expected;
    } exts[] = {
        {nullptr, {0, 1, 2}}, {"", {}}, {"2,0,2", {0, 2}}, {"1,x", {0, 1}}, {"7, $1", {1, 7}}};
    for (const auto& c : exts) {
        WriteBytes(path, c.ext ? QByteArray("[SEARCH]\nExt=") + c.ext : QByteArray("[SEARCH]\n"));
        project.Load(path);
        EXPECT_EQ(project.Ext, c.expected) << (c.ext ? c.ext : "none");
    }
    WriteBytes(path, "[search]\nSearchOrder=1\nFindLookIn=2\nMatchByte=0\n");
    project.Load(path);
    EXPECT_TRUE(project.SearchOrder == 1 && project.FindLookIn == 2 && !project.MatchByte);
    WriteBytes(path, "[SEARCH]\nSearchOrder=2\nFindLookIn=-1\nMatchByte=x\nIsSearchSubDir=0x1\n");
    project.Load(path);
    EXPECT_TRUE(project.SearchOrder == 0 && project.FindLookIn == 0 && project.MatchByte);
    EXPECT_TRUE(project.IsSearchSubDir);
}

TEST(TProject, FailedLoadOrSaveKeepsTheFileName) {
    const QString dir = TestDir();
    TProject project;
    project.FileName = QStringLiteral("/before.SVZ");
    EXPECT_THROW(project.Load(dir), Exception);
    EXPECT_THROW(project.Save(dir + QStringLiteral("/missing/p.SVZ")), Exception);
    EXPECT_EQ(project.FileName, QStringLiteral("/before.SVZ"));
}

}  // namespace
