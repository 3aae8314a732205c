#include "storage/Tproject.h"

#include "storage/Exception.h"
#include "tests/storage/TestFiles.h"

namespace {

using storagetest::ReadBytes;
using storagetest::TestDir;
using storagetest::WriteBytes;

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
    WriteBytes(path, "[Notes]\r\nby=hand\r\n[SEARCH]\r\nWord=old\r\n");
    TProject saved;
    saved.Dir = QStringLiteral("/データ/帳票");
    saved.IsSearchSubDir = true;
    saved.Word = QStringLiteral("  abc");
    saved.SetSearchOrder(1);
    saved.SetFindLookIn(2);
    saved.MatchCase = true;
    saved.MatchByte = false;
    saved.LookAt = true;
    saved.Ext = {2};
    saved.Save(path);

    TProject loaded;
    loaded.Load(path);
    EXPECT_EQ(loaded.FileName, path);
    EXPECT_EQ(loaded.Dir, saved.Dir);
    EXPECT_TRUE(loaded.IsSearchSubDir);
    EXPECT_EQ(loaded.Word, QStringLiteral("abc"));  // values are trimmed on reading
    EXPECT_EQ(loaded.SearchOrder, 1);
    EXPECT_EQ(loaded.FindLookIn, 2);
    EXPECT_TRUE(loaded.MatchCase);
    EXPECT_FALSE(loaded.MatchByte);
    EXPECT_TRUE(loaded.LookAt);
    EXPECT_EQ(loaded.Ext, std::set<int32_t>{2});
    EXPECT_TRUE(ReadBytes(path).startsWith("[Notes]\r\nby=hand\r\n\r\n[SEARCH]\r\nWord=  abc\r\n"));
}

struct ProjectCase {
    const char* name;
    const char* search;  // the SEARCH section's lines
    std::set<int32_t> ext;
    int32_t searchOrder;
    int32_t findLookIn;
    bool matchByte;
};

void PrintTo(const ProjectCase& c, std::ostream* os) {
    *os << c.name;
}

class TProjectLoad : public testing::TestWithParam<ProjectCase> {};

TEST_P(TProjectLoad, ReadsHandEditedValues) {
    const QString path = TestDir() + QStringLiteral("/p.SVZ");
    WriteBytes(path, QByteArray("[SEARCH]\n") + GetParam().search);
    TProject project;
    project.Load(path);
    EXPECT_EQ(project.Ext, GetParam().ext);
    EXPECT_EQ(project.SearchOrder, GetParam().searchOrder);
    EXPECT_EQ(project.FindLookIn, GetParam().findLookIn);
    EXPECT_EQ(project.MatchByte, GetParam().matchByte);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TProjectLoad,
    testing::Values(
        ProjectCase{"Nothing", "", {0, 1, 2}, 0, 0, true},
        ProjectCase{"EmptyExt", "Ext=\n", {}, 0, 0, true},
        ProjectCase{"DuplicateExt", "Ext=2,0,2\n", {0, 2}, 0, 0, true},
        ProjectCase{"NonNumericExt", "Ext=1,x\n", {0, 1}, 0, 0, true},
        ProjectCase{"UnknownExt", "Ext=7\n", {7}, 0, 0, true},
        ProjectCase{
            "InRange", "SearchOrder=1\nFindLookIn=2\nMatchByte=0\n", {0, 1, 2}, 1, 2, false},
        ProjectCase{
            "OutOfRange", "SearchOrder=2\nFindLookIn=-1\nMatchByte=x\n", {0, 1, 2}, 0, 0, true},
        ProjectCase{"Overflow", "SearchOrder=4294967297\nFindLookIn=0x1\n", {0, 1, 2}, 0, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TProject, ExtTextListsTheSetInAscendingOrder) {
    TProject project;
    project.SetExtText(QStringLiteral("2, 0 ,$1"));
    EXPECT_EQ(project.ExtText(), QStringLiteral("0,1,2"));
    project.Ext.clear();
    EXPECT_EQ(project.ExtText(), QString());
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
