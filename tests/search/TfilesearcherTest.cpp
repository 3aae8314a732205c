#include "search/Tfilesearcher.h"

#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class TfilesearcherTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Root() const { return dir_.path(); }

    void Touch(const QStringList& relativePaths) {
        for (const QString& relative : relativePaths) {
            const QString path = Root() + "/" + relative;
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        }
    }

    // Drains the searcher; paths relative to the root.
    QStringList Walk(TFileSearcher& searcher) {
        QStringList found;
        while (searcher.Next()) {
            const QString path = searcher.GetFileName();
            EXPECT_TRUE(path.startsWith(Root() + "/")) << path.toStdString();
            found.append(path.mid(Root().size() + 1));
        }
        EXPECT_TRUE(searcher.GetFileName().isEmpty());
        return found;
    }

    QStringList Walk(const QStringList& exts, bool subDirs = true) {
        TFileSearcher searcher;
        searcher.SetSearchSubDir(subDirs);
        searcher.SetDir(Root());
        searcher.SetExts(exts);
        return Walk(searcher);
    }

    QTemporaryDir dir_{testsupport::ScratchDir() + "/walk-XXXXXX"};
};

const QStringList kAllTypes = {"xls", "xlsx", "csv"};

TEST_F(TfilesearcherTest, SortsFilesCaseInsensitivelyWhateverPatternFoundThem) {
    Touch({"c.csv", "B.xls", "a.xls", "d.xlsx"});
    EXPECT_EQ(Walk(kAllTypes), (QStringList{"a.xls", "B.xls", "c.csv", "d.xlsx"}));
}

TEST_F(TfilesearcherTest, WalksDepthFirstWithFilesBeforeSubFolders) {
    Touch({"B/w.xls", "A/C/z.xls", "A/y.xls", "x.xls", "A/B2/v.csv"});
    EXPECT_EQ(Walk(kAllTypes),
              (QStringList{"x.xls", "A/y.xls", "A/B2/v.csv", "A/C/z.xls", "B/w.xls"}));
}

TEST_F(TfilesearcherTest, WithoutSubFolderFlagListsOnlyTheFolder) {
    Touch({"x.xls", "A/y.xls"});
    EXPECT_EQ(Walk(kAllTypes, false), QStringList{"x.xls"});
}

TEST_F(TfilesearcherTest, SkipsHiddenFilesAndFolders) {
    Touch({".hidden.xls", ".secret/a.xls", "shown/b.xls", "c.xls"});
    EXPECT_EQ(Walk(kAllTypes), (QStringList{"c.xls", "shown/b.xls"}));
}

TEST_F(TfilesearcherTest, DoesNotFollowSymbolicLinksToFolders) {
    Touch({"a.xls", "sub/b.xls"});
    ASSERT_EQ(
        symlink(Root().toLocal8Bit().constData(), (Root() + "/sub/loop").toLocal8Bit().constData()),
        0);
    ASSERT_EQ(symlink((Root() + "/sub").toLocal8Bit().constData(),
                      (Root() + "/alias").toLocal8Bit().constData()),
              0);
    EXPECT_EQ(Walk(kAllTypes), (QStringList{"a.xls", "sub/b.xls"}));
}

TEST_F(TfilesearcherTest, MatchesTheFinalExtensionIgnoringCase) {
    Touch({"a.XLS", "b.tar.xls", "c.xls.bak", "d.xlsx", "xls", "e.Csv"});
    EXPECT_EQ(Walk({"xls"}), (QStringList{"a.XLS", "b.tar.xls"}));
    EXPECT_EQ(Walk({"csv"}), QStringList{"e.Csv"});
}

TEST_F(TfilesearcherTest, ListsAFileMatchedByTwoPatternsOnce) {
    Touch({"a.xls", "b.xlsx"});
    EXPECT_EQ(Walk({"xls", "XLS", "xlsx", "xls"}), (QStringList{"a.xls", "b.xlsx"}));
}

TEST_F(TfilesearcherTest, SkipsEmptyExtensionsAndMatchesEverythingByDefault) {
    Touch({"a.xls", "notes.txt", "plain"});
    EXPECT_EQ(Walk({"", "xls"}), QStringList{"a.xls"});
    EXPECT_TRUE(Walk({""}).isEmpty());

    TFileSearcher searcher;
    searcher.SetDir(Root());
    EXPECT_EQ(Walk(searcher), (QStringList{"a.xls", "notes.txt", "plain"}));
}

TEST_F(TfilesearcherTest, TrailingDelimiterMakesNoDifference) {
    Touch({"a.xls", "s/b.xls"});
    for (const QString& dir : {Root(), Root() + "/"}) {
        TFileSearcher searcher;
        searcher.SetSearchSubDir(true);
        searcher.SetDir(dir);
        QStringList paths;
        while (searcher.Next()) {
            paths.append(searcher.GetFileName());
        }
        EXPECT_EQ(paths, (QStringList{Root() + "/a.xls", Root() + "/s/b.xls"}));
    }
}

TEST_F(TfilesearcherTest, SetterStartsTheWalkAgain) {
    Touch({"a.xls", "b.xls", "s/c.xls"});
    TFileSearcher searcher;
    searcher.SetSearchSubDir(true);
    searcher.SetDir(Root());
    ASSERT_TRUE(searcher.Next());
    ASSERT_TRUE(searcher.Next());
    ASSERT_TRUE(searcher.Next());  // inside the child now
    searcher.SetExts({"xls"});
    EXPECT_EQ(Walk(searcher), (QStringList{"a.xls", "b.xls", "s/c.xls"}));
}

TEST_F(TfilesearcherTest, UnreadableOrMissingFoldersContributeNothing) {
    Touch({"a/x.xls", "locked/y.xls", "z/w.xls"});
    TFileSearcher missing;
    missing.SetDir(Root() + "/nowhere");
    EXPECT_FALSE(missing.Next());

    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not lock out root";
    }
    ASSERT_TRUE(QFile::setPermissions(Root() + "/locked", QFileDevice::Permissions()));
    const QStringList found = Walk(kAllTypes);
    QFile::setPermissions(Root() + "/locked",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(found, (QStringList{"a/x.xls", "z/w.xls"}));
}

}  // namespace
