#include "search/Tfilesearcher.h"

#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct WalkCase {
    const char* name;
    QStringList files;  // created under a fresh root
    QStringList exts;   // none given: the searcher's default
    bool subDirs;
    QStringList expected;  // relative to the root, in walk order
};

class TfilesearcherTest : public testing::TestWithParam<WalkCase> {};

TEST_P(TfilesearcherTest, WalksInOrder) {
    const WalkCase& c = GetParam();
    QTemporaryDir dir(testsupport::ScratchDir() + "/walk-XXXXXX");
    const QString root = dir.path();
    for (const QString& relative : c.files) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(root + "/" + relative).path()));
        QFile file(root + "/" + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // A link back to the root would make the walk endless if it were followed.
    ASSERT_TRUE(QFile::link(root, root + "/loop"));

    TFileSearcher searcher;
    searcher.SetSearchSubDir(c.subDirs);
    searcher.SetDir(root + (c.subDirs ? "" : "/"));
    if (!c.exts.isEmpty()) {
        searcher.SetExts(c.exts);
    }
    QStringList found;
    while (searcher.Next() && found.size() < 100) {
        found.append(searcher.GetFileName().mid(root.size() + 1));
    }
    EXPECT_EQ(found, c.expected);
    EXPECT_EQ(searcher.GetFileName(), "");
}

const QStringList kAll = {"xls", "xlsx", "csv"};

INSTANTIATE_TEST_SUITE_P(
    Table, TfilesearcherTest,
    testing::Values(
        WalkCase{"SortedIgnoringCase",
                 {"c.csv", "B.xls", "a.xls", "d.xlsx"},
                 kAll,
                 false,
                 {"a.xls", "B.xls", "c.csv", "d.xlsx"}},
        WalkCase{"FilesBeforeSubFoldersDepthFirst",
                 {"B/w.xls", "A/C/z.xls", "A/y.xls", "x.xls"},
                 kAll,
                 true,
                 {"x.xls", "A/y.xls", "A/C/z.xls", "B/w.xls"}},
        WalkCase{"SubFoldersOnlyOnRequest", {"x.xls", "A/y.xls"}, kAll, false, {"x.xls"}},
        WalkCase{"HiddenSkipped", {".h.xls", ".hid/a.xls", "s/b.xls"}, kAll, true, {"s/b.xls"}},
        WalkCase{"FinalExtensionIgnoringCase",
                 {"a.XLS", "b.tar.xls", "c.xls.bak", "d.xlsx", "xls"},
                 {"xls"},
                 false,
                 {"a.XLS", "b.tar.xls"}},
        WalkCase{"TwoPatternsListOnce",
                 {"a.xls", "b.xlsx"},
                 {"xls", "XLS", "", "xlsx"},
                 false,
                 {"a.xls", "b.xlsx"}},
        WalkCase{"EveryFileByDefault",
                 {"a.xls", "notes.txt", "plain"},
                 {},
                 false,
                 {"a.xls", "notes.txt", "plain"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TfilesearcherResetTest, SetterStartsAgainAndMissingFolderGivesNothing) {
    QTemporaryDir dir(testsupport::ScratchDir() + "/walk-XXXXXX");
    for (const char* name : {"/a.xls", "/b.xls"}) {
        QFile file(dir.path() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TFileSearcher searcher;
    searcher.SetDir(dir.path());
    ASSERT_TRUE(searcher.Next());
    searcher.SetExts({"xls"});
    ASSERT_TRUE(searcher.Next());
    EXPECT_EQ(searcher.GetFileName(), dir.path() + "/a.xls");
    searcher.SetDir(dir.path() + "/missing");
    EXPECT_FALSE(searcher.Next());
}

}  // namespace
