#include "cli/CommandLine.h"

#include "storage/Tproject.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>

namespace {

struct ParseCase {
    QStringList arguments;
    bool subDir;
    std::set<int> ext;
    int order;
    int lookIn;
    bool matchCase;
    bool matchByte;
    bool lookAt;
    OutputFormat format;
};

class CommandLineParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParseTest, SetsTheConditions) {
    const ParseCase& c = GetParam();
    CommandLine commandLine;
    ASSERT_TRUE(commandLine.Parse(c.arguments)) << commandLine.Error().toStdString();
    const SearchConditions& conditions = commandLine.Conditions();
    EXPECT_EQ(conditions.Dir, "/data/books");
    EXPECT_EQ(conditions.Word, "-語 ");
    EXPECT_EQ(conditions.IsSearchSubDir, c.subDir);
    EXPECT_EQ(conditions.Ext, c.ext);
    EXPECT_EQ(conditions.SearchOrder, c.order);
    EXPECT_EQ(conditions.FindLookIn, c.lookIn);
    EXPECT_EQ(conditions.MatchCase, c.matchCase);
    EXPECT_EQ(conditions.MatchByte, c.matchByte);
    EXPECT_EQ(conditions.LookAt, c.lookAt);
    EXPECT_EQ(commandLine.Format(), c.format);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineParseTest,
    testing::Values(ParseCase{{"--", "/data/books", "-語 "},
                              false,
                              {0, 1, 2},
                              0,
                              0,
                              false,
                              true,
                              false,
                              OutputFormat::Tsv},
                    ParseCase{
                        {"-s", "-t", "csv,XLS", "--by", "columns", "--look-in", "comments", "-c",
                         "--ignore-width", "-w", "--format", "jsonl", "--", "/data/books", "-語 "},
                        true,
                        {0, 2},
                        1,
                        2,
                        true,
                        false,
                        true,
                        OutputFormat::JsonLines},
                    ParseCase{{"-scw", "--types=.xlsx", "--look-in=values", "--format=csv", "--",
                               "/data/books/", "-語 "},
                              true,
                              {1},
                              0,
                              1,
                              true,
                              true,
                              true,
                              OutputFormat::Csv},
                    // an empty list reaches the run, whose file-type check reports it
                    ParseCase{{"--types", "", "--", "/data/books", "-語 "},
                              false,
                              {},
                              0,
                              0,
                              false,
                              true,
                              false,
                              OutputFormat::Tsv}));

struct ErrorCase {
    QStringList arguments;
    QString fragment;  // part of the message
};

class CommandLineErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(CommandLineErrorTest, RejectsBadUsage) {
    CommandLine commandLine;
    EXPECT_FALSE(commandLine.Parse(GetParam().arguments));
    EXPECT_TRUE(commandLine.Error().contains(GetParam().fragment))
        << commandLine.Error().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineErrorTest,
    testing::Values(ErrorCase{{"/d"}, "フォルダーと検索キーワード"},
                    ErrorCase{{"/d", "w", "extra"}, "フォルダーと検索キーワード"},
                    ErrorCase{{"-x", "/d", "w"}, "-x"}, ErrorCase{{"-sq", "/d", "w"}, "-sq"},
                    ErrorCase{{"/d", "w", "-t", "xls,ods"}, "ods"},
                    ErrorCase{{"/d", "w", "--by", "diagonal"}, "diagonal"},
                    ErrorCase{{"/d", "w", "--look-in", "notes"}, "notes"},
                    ErrorCase{{"/d", "w", "--format", "xml"}, "xml"},
                    ErrorCase{{"/d", "w", "--format"}, "--format"},
                    ErrorCase{{"/d", "w", "--subfolders=yes"}, "--subfolders"},
                    ErrorCase{{"--project", "p.svz", "/d", "w"}, "--project"}));

TEST(CommandLineTest, HelpNeedsNoFolderAndDocumentsEveryOption) {
    CommandLine commandLine;
    ASSERT_TRUE(commandLine.Parse({"--help"}));
    EXPECT_TRUE(commandLine.HelpRequested());
    for (const char* option :
         {"--subfolders", "--types", "--by", "--look-in", "--match-case", "--ignore-width",
          "--whole-cell", "--format", "--project", "--keep-going", "\\t", "\\\\"}) {
        EXPECT_TRUE(CommandLine::HelpText().contains(option)) << option;
    }
}

TEST(CommandLineTest, RelativeFolderBecomesAbsoluteButEmptyStaysEmpty) {
    CommandLine relative;
    ASSERT_TRUE(relative.Parse({"books", "w"}));
    EXPECT_EQ(relative.Conditions().Dir, QDir::current().absoluteFilePath("books"));
    CommandLine empty;
    ASSERT_TRUE(empty.Parse({"", "w"}));
    EXPECT_TRUE(empty.Conditions().Dir.isEmpty());
}

TEST(CommandLineTest, ProjectSuppliesConditionsAndOptionsOverrideThem) {
    TProject project;
    project.Dir = "/data/books";
    project.Word = "売上";
    project.IsSearchSubDir = true;
    project.SetFindLookIn(2);
    project.MatchByte = false;
    project.Ext = {1};
    const QString file = testsupport::ScratchDir() + "/cli.SVZ";
    project.Save(file);

    CommandLine plain;
    ASSERT_TRUE(plain.Parse({"--project", file})) << plain.Error().toStdString();
    EXPECT_EQ(plain.Conditions().Dir, "/data/books");
    EXPECT_EQ(plain.Conditions().Word, "売上");
    EXPECT_TRUE(plain.Conditions().IsSearchSubDir);
    EXPECT_EQ(plain.Conditions().FindLookIn, 2);
    EXPECT_FALSE(plain.Conditions().MatchByte);
    EXPECT_EQ(plain.Conditions().Ext, std::set<int>{1});

    CommandLine overridden;
    ASSERT_TRUE(overridden.Parse({"--look-in", "values", "-t", "csv", "-c", "--project", file}));
    EXPECT_EQ(overridden.Conditions().FindLookIn, 1);
    EXPECT_EQ(overridden.Conditions().Ext, std::set<int>{2});
    EXPECT_TRUE(overridden.Conditions().MatchCase);
    EXPECT_EQ(overridden.Conditions().Word, "売上");
}

}  // namespace
