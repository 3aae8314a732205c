#include "cli/CommandLine.h"

#include "storage/Tproject.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, OptionsSetTheConditions) {
    CommandLine line;
    ASSERT_TRUE(line.Parse({"-sc", "-t", "csv,.XLS", "--by=columns", "--look-in", "comments",
                            "--ignore-width", "-w", "--format", "jsonl", "--", "/d/", "-語"}))
        << line.Error().toStdString();
    const SearchConditions& c = line.Conditions();
    EXPECT_EQ(c.Dir, "/d");
    EXPECT_EQ(c.Word, "-語");
    EXPECT_TRUE(c.IsSearchSubDir && c.MatchCase && c.LookAt);
    EXPECT_FALSE(c.MatchByte);
    EXPECT_EQ(c.Ext, (std::set<int>{0, 2}));
    EXPECT_EQ(c.SearchOrder, 1);
    EXPECT_EQ(c.FindLookIn, 2);
    EXPECT_EQ(line.Format(), OutputFormat::JsonLines);
}

TEST(CommandLineTest, RejectsBadUsageNamingTheCulprit) {
    const std::vector<std::pair<QStringList, QString>> table = {
        {{"/d"}, "フォルダーと検索キーワード"},
        {{"-sq", "/d", "w"}, "-sq"},
        {{"/d", "w", "-t", "xls,ods"}, "ods"},
        {{"/d", "w", "--by", "up"}, "up"},
        {{"/d", "w", "--look-in", "notes"}, "notes"},
        {{"/d", "w", "--format"}, "--format"},
        {{"/d", "w", "-s=1"}, "-s=1"},
        {{"--project", "p.svz", "/d", "w"}, "--project"},
        {{"--project", "/nowhere/p.svz"}, "/nowhere/p.svz"}};
    for (const auto& [arguments, culprit] : table) {
        CommandLine line;
        EXPECT_FALSE(line.Parse(arguments)) << arguments.join(' ').toStdString();
        EXPECT_TRUE(line.Error().contains(culprit)) << line.Error().toStdString();
    }
}

TEST(CommandLineTest, OptionsOverrideTheProject) {
    TProject project;
    project.Dir = "/data";
    project.Word = "売上";
    project.SetFindLookIn(2);
    project.MatchByte = false;
    project.Ext = {1};
    const QString file = testsupport::ScratchDir() + "/cli.SVZ";
    project.Save(file);

    CommandLine line;
    ASSERT_TRUE(line.Parse({"-t", "csv", "-c", "--project", file})) << line.Error().toStdString();
    const SearchConditions& c = line.Conditions();
    EXPECT_EQ(c.Dir + c.Word, "/data売上");
    EXPECT_EQ(c.FindLookIn, 2);
    EXPECT_FALSE(c.MatchByte);
    EXPECT_TRUE(c.MatchCase);
    EXPECT_EQ(c.Ext, std::set<int>{2});
}

}  // namespace
