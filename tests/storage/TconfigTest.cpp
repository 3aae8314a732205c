#include "storage/Tconfig.h"

#include "storage/WarningBox.h"
#include "tests/storage/ScopedEnv.h"
#include "tests/storage/TestFiles.h"

#include <functional>

namespace {

using storagetest::ReadBytes;
using storagetest::ScopedEnv;
using storagetest::TestDir;
using storagetest::WriteBytes;

const QByteArray kDefaultFile =
    "[SYSTEM]\r\nVersion=0\r\n\r\n"
    "[RESULT_ITEM_COL_WIDTH]\r\nCOL0=56\r\nCOL1=44\r\nCOL2=56\r\nCOL3=28\r\nCOL4=28\r\n"
    "COL5=60\r\nCOL6=70\r\nCOL7=78\r\n\r\n"
    "[STARTUP]\r\nWindowPositionRestore=0\r\nWindowPositionLeft=0\r\nWindowPositionRight=434\r\n"
    "WindowPositionTop=0\r\nWindowPositionBottom=420\r\nWindowState=0\r\nHISTORY=\r\n"
    "ProjectFileRestore=0\r\nLastProjectFile=\r\nShowStayOnTop=0\r\nInTaskTray=0\r\n\r\n";

TEST(TConfig, FreshSaveWritesEverySettingInOrder) {
    const QString path = TestDir() + QStringLiteral("/new/folder/Sorvane.ini");
    TConfig().Save(path);
    EXPECT_EQ(ReadBytes(path), kDefaultFile);
}

TEST(TConfig, SaveKeepsUnknownKeysAndLoadRestoresEveryMember) {
    const QString path = TestDir() + QStringLiteral("/Sorvane.ini");
    WriteBytes(path, "[RESULT_ITEM_COL_WIDTH]\r\nCOL8=99\r\n[Mine]\r\nx=1\r\n");
    TConfig saved;
    saved.ResultItemColWidth = {1, 0, -5, 3, 4, 5, 6, 7};
    saved.WindowPositionRestore = true;
    saved.WindowPositionLeft = -20;
    saved.WindowPositionTop = 30;
    saved.WindowPositionRight = 800;
    saved.WindowPositionBottom = 600;
    saved.SetWindowState(2);
    saved.History = {QStringLiteral("/My Files/x.SVZ"), QStringLiteral("/b \"q\".SVZ")};
    saved.ProjectFileRestore = true;
    saved.LastProjectFile = QStringLiteral("/データ/a.SVZ");
    saved.ShowStayOnTop = true;
    saved.InTaskTray = true;
    saved.Save(path);

    TConfig loaded;
    loaded.Load(path);
    EXPECT_EQ(loaded.ResultItemColWidth, saved.ResultItemColWidth);
    EXPECT_TRUE(loaded.WindowPositionRestore);
    EXPECT_EQ(loaded.WindowPositionLeft, -20);
    EXPECT_EQ(loaded.WindowPositionTop, 30);
    EXPECT_EQ(loaded.WindowPositionRight, 800);
    EXPECT_EQ(loaded.WindowPositionBottom, 600);
    EXPECT_EQ(loaded.WindowState, 2);
    EXPECT_EQ(loaded.History, saved.History);
    EXPECT_TRUE(loaded.ProjectFileRestore);
    EXPECT_EQ(loaded.LastProjectFile, saved.LastProjectFile);
    EXPECT_TRUE(loaded.ShowStayOnTop);
    EXPECT_TRUE(loaded.InTaskTray);
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.startsWith("[RESULT_ITEM_COL_WIDTH]\r\nCOL8=99\r\nCOL0=1\r\n"))
        << bytes.constData();
    EXPECT_TRUE(bytes.contains("[Mine]\r\nx=1\r\n")) << bytes.constData();
}

struct LoadCase {
    const char* line;  // one line of the STARTUP section
    std::function<int(const TConfig&)> member;
    int expected;
};

class TConfigLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(TConfigLoad, MapsMalformedAndOutOfRangeValuesToDefaults) {
    const QString path = TestDir() + QStringLiteral("/Sorvane.ini");
    WriteBytes(path, QByteArray("[startup]\r\n") + GetParam().line + "\r\n");
    TConfig config;
    config.WindowState = 1;  // Load must replace it even when the value is bad
    config.Load(path);
    EXPECT_EQ(GetParam().member(config), GetParam().expected);
}

const auto kState = [](const TConfig& c) { return c.WindowState; };
const auto kRight = [](const TConfig& c) { return c.WindowPositionRight; };
const auto kOnTop = [](const TConfig& c) { return int(c.ShowStayOnTop); };
const auto kHistory = [](const TConfig& c) { return int(c.History.size()); };

INSTANTIATE_TEST_SUITE_P(Values, TConfigLoad,
                         testing::Values(LoadCase{"WindowState=2", kState, 2},
                                         LoadCase{"WindowState=3", kState, 0},
                                         LoadCase{"WindowState=-1", kState, 0},
                                         LoadCase{"windowstate=x", kState, 0},
                                         LoadCase{"WindowPositionRight=0x200", kRight, 512},
                                         LoadCase{"WindowPositionRight=abc", kRight, 434},
                                         LoadCase{"WindowPositionRight=4294967296", kRight, 434},
                                         LoadCase{"ShowStayOnTop=5", kOnTop, 1},
                                         LoadCase{"ShowStayOnTop=yes", kOnTop, 0},
                                         LoadCase{"HISTORY=a,a,\"b c\"", kHistory, 3},
                                         LoadCase{"HISTORY=\"unterminated, x", kHistory, 1}));

TEST(TConfig, ColumnVisibilityKeepsWidthsAndRestoresDefaults) {
    const QString path = TestDir() + QStringLiteral("/Sorvane.ini");
    WriteBytes(path, "[RESULT_ITEM_COL_WIDTH]\nCOL1=45\nCOL2=-5\nCOL3=0\n");
    TConfig config;
    config.Load(path);
    EXPECT_EQ(config.VisibleResultColumns(), (std::set<int>{0, 1, 2, 4, 5, 6, 7}));
    config.SetVisibleResultColumns({1, 2, 3, 5});
    EXPECT_EQ(config.ResultItemColWidth, (std::vector<int32_t>{0, 45, 56, 28, 0, 60, 0, 0}));
}

TEST(TConfig, AddHistoryMovesCaseInsensitiveMatchesToTheHead) {
    TConfig config;
    config.History = {QStringLiteral("/data/a.svz"), QStringLiteral("/B.SVZ"),
                      QStringLiteral("/DATA/A.SVZ")};
    config.AddHistory(QStringLiteral("/Data/A.SVZ"));
    EXPECT_EQ(config.History,
              (QStringList{QStringLiteral("/Data/A.SVZ"), QStringLiteral("/B.SVZ")}));
}

TEST(TConfig, SaveWarnsAndWritesNothingWhenTheFolderCannotBeMade) {
    const QString blocker = TestDir() + QStringLiteral("/file");
    WriteBytes(blocker, "not a folder");
    QStringList warnings;
    WarningBox::SetHandler([&warnings](const QString& message) { warnings.append(message); });
    TConfig().Save(blocker + QStringLiteral("/Sorvane/Sorvane.ini"));
    WarningBox::SetHandler({});
    EXPECT_EQ(
        warnings,
        QStringList{QStringLiteral("設定ファイルを保存するためのフォルダの作成に失敗しました。")});
    EXPECT_EQ(ReadBytes(blocker), "not a folder");
}

TEST(TConfig, ConfigFileNameFollowsTheXdgConfigHome) {
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "/somewhere/config/");
        EXPECT_EQ(GetConfigFileName(),
                  QStringLiteral("/somewhere/config/Tavrick/Sorvane/Sorvane.ini"));
    }
    const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    const ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(GetConfigFileName(),
              QStringLiteral("/home/someone/.config/Tavrick/Sorvane/Sorvane.ini"));
}

}  // namespace
