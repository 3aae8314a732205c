#include "storage/Tconfig.h"

#include "tests/storage/TestFiles.h"

namespace {

using namespace storagetest;

TEST(TConfig, FreshSaveWritesEverySettingInOrder) {
    const QString path = TestDir() + QStringLiteral("/new/folder/Sorvane.ini");
    ASSERT_TRUE(TConfig().Save(path));
    EXPECT_EQ(
        ReadBytes(path),
        "[SYSTEM]\r\nVersion=0\r\n\r\n[RESULT_ITEM_COL_WIDTH]\r\nCOL0=56\r\nCOL1=44\r\n"
        "COL2=56\r\nCOL3=28\r\nCOL4=28\r\nCOL5=60\r\nCOL6=70\r\nCOL7=78\r\n\r\n[STARTUP]\r\n"
        "WindowPositionRestore=0\r\nWindowPositionLeft=0\r\nWindowPositionRight=434\r\n"
        "WindowPositionTop=0\r\nWindowPositionBottom=420\r\nWindowState=0\r\nHISTORY=\r\n"
        "ProjectFileRestore=0\r\nLastProjectFile=\r\nShowStayOnTop=0\r\nInTaskTray=0\r\n"
        "SplitterPosition=0\r\n\r\n"
        "[SEARCH]\r\nSkipUnreadableBooks=0\r\nSearchHiddenCells=0\r\nUseSearchIndex=1\r\n\r\n");
}

TEST(TConfig, SaveThenLoadRestoresValuesAndKeepsUnknownKeys) {
    const QString path = TestDir() + QStringLiteral("/Sorvane.ini");
    WriteBytes(path, "[RESULT_ITEM_COL_WIDTH]\r\nCOL8=99\r\n");
    TConfig saved;
    saved.ResultItemColWidth = {1, 0, -5, 3, 4, 5, 6, 7};
    saved.WindowPositionBottom = 600;
    saved.History = {QStringLiteral("/My Files/x.SVZ"), QStringLiteral("/b \"q\".SVZ")};
    saved.LastProjectFile = QStringLiteral("/データ/a.SVZ");
    saved.InTaskTray = true;
    saved.SkipUnreadableBooks = true;
    saved.SearchHiddenCells = true;
    saved.UseSearchIndex = false;
    saved.SplitterPosition = 180;
    ASSERT_TRUE(saved.Save(path));
    TConfig loaded;
    loaded.Load(path);
    EXPECT_EQ(loaded.ResultItemColWidth, saved.ResultItemColWidth);
    EXPECT_EQ(loaded.WindowPositionBottom, 600);
    EXPECT_EQ(loaded.History, saved.History);
    EXPECT_EQ(loaded.LastProjectFile, saved.LastProjectFile);
    EXPECT_TRUE(loaded.InTaskTray);
    EXPECT_TRUE(loaded.SkipUnreadableBooks);
    EXPECT_TRUE(loaded.SearchHiddenCells);
    EXPECT_FALSE(loaded.UseSearchIndex);
    EXPECT_EQ(loaded.SplitterPosition, 180);
    EXPECT_TRUE(ReadBytes(path).startsWith("[RESULT_ITEM_COL_WIDTH]\r\nCOL8=99\r\nCOL0=1\r\n"));
}

TEST(TConfig, LoadMapsMalformedAndOutOfRangeValuesToDefaults) {
    const QString path = TestDir() + QStringLiteral("/Sorvane.ini");
    WriteBytes(path,
               "[startup]\nwindowstate=3\nWindowPositionLeft=0x200\nWindowPositionRight=abc\n"
               "WindowPositionTop=4294967296\nShowStayOnTop=5\nInTaskTray=yes\n"
               "HISTORY=a,a,\"b c\",\"unterminated, x\n[RESULT_ITEM_COL_WIDTH]\nCOL2=-5\n");
    TConfig config;
    config.WindowState = 1;
    config.Load(path);
    EXPECT_EQ(config.WindowState, 0);
    EXPECT_EQ(config.WindowPositionLeft, 512);
    EXPECT_EQ(config.WindowPositionRight, 434);
    EXPECT_EQ(config.WindowPositionTop, 0);
    EXPECT_TRUE(config.ShowStayOnTop);
    EXPECT_FALSE(config.InTaskTray);
    EXPECT_EQ(config.History, (QStringList{"a", "a", "b c", "unterminated, x"}));
    EXPECT_EQ(config.ResultItemColWidth, (std::vector<int32_t>{56, 44, -5, 28, 28, 60, 70, 78}));
    for (const auto& [text, state] : {std::pair{"-1", 0}, {"2", 2}}) {
        WriteBytes(path, QByteArray("[STARTUP]\nWindowState=") + text);
        config.Load(path);
        EXPECT_EQ(config.WindowState, state) << text;
    }
}

TEST(TConfig, ColumnVisibilityAndHistoryOrder) {
    TConfig config;
    config.ResultItemColWidth = {56, 45, -5, 0, 28, 60, 70, 78};
    EXPECT_EQ(config.VisibleResultColumns(), (std::set<int>{0, 1, 2, 4, 5, 6, 7}));
    config.SetVisibleResultColumns({1, 2, 3, 5});
    EXPECT_EQ(config.ResultItemColWidth, (std::vector<int32_t>{0, 45, 56, 28, 0, 60, 0, 0}));

    config.History = {QStringLiteral("/data/a.svz"), QStringLiteral("/B"),
                      QStringLiteral("/DATA/A.SVZ")};
    config.AddHistory(QStringLiteral("/Data/A.SVZ"));
    EXPECT_EQ(config.History, (QStringList{QStringLiteral("/Data/A.SVZ"), QStringLiteral("/B")}));
}

TEST(TConfig, SaveWritesNothingAndSaysSoWhenTheFolderCannotBeMade) {
    const QString blocker = TestDir() + QStringLiteral("/file");
    WriteBytes(blocker, "not a folder");
    EXPECT_FALSE(TConfig().Save(blocker + QStringLiteral("/Sorvane/Sorvane.ini")));
    EXPECT_EQ(ReadBytes(blocker), "not a folder");
}

TEST(TConfig, ConfigFileNameFollowsTheXdgConfigHome) {
    const ScopedEnv config("XDG_CONFIG_HOME", "/x/conf/");
    EXPECT_EQ(GetConfigFileName(), QStringLiteral("/x/conf/Tavrick/Sorvane/Sorvane.ini"));
}

}  // namespace
