#include "storage/CommaList.h"

#include <gtest/gtest.h>

namespace {

struct CommaCase {
    const char* name;
    QStringList list;
    QString text;
};

void PrintTo(const CommaCase& c, std::ostream* os) {
    *os << c.name;
}

// Lists whose written form is exactly the text, and which read back as the same list.
class CommaListBothWays : public testing::TestWithParam<CommaCase> {};

TEST_P(CommaListBothWays, JoinsToTheTextAndSplitsBack) {
    EXPECT_EQ(CommaList::Join(GetParam().list), GetParam().text);
    EXPECT_EQ(CommaList::Split(GetParam().text), GetParam().list);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CommaListBothWays,
    testing::Values(CommaCase{"Empty", {}, ""}, CommaCase{"OneEmptyEntry", {""}, "\"\""},
                    CommaCase{"Plain", {"0", "1", "2"}, "0,1,2"},
                    CommaCase{"Space", {"/My Files/x.SVZ", "/b.SVZ"}, "\"/My Files/x.SVZ\",/b.SVZ"},
                    CommaCase{"Quote", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
                    CommaCase{"Comma", {"a,b", "c"}, "\"a,b\",c"},
                    CommaCase{"Tab", {"a\tb"}, "\"a\tb\""},
                    CommaCase{"TrailingEmpty", {"a", ""}, "a,"},
                    CommaCase{"LeadingEmpty", {"", "a"}, ",a"},
                    CommaCase{"TwoEmpty", {"", ""}, ","},
                    CommaCase{"Japanese", {"検索語", "全角　空白"}, "検索語,全角　空白"}),
    [](const auto& info) { return std::string(info.param.name); });

// Texts that only occur when read (hand-edited files): how they split.
class CommaListSplit : public testing::TestWithParam<CommaCase> {};

TEST_P(CommaListSplit, ReadsTheEntries) {
    EXPECT_EQ(CommaList::Split(GetParam().text), GetParam().list);
}

INSTANTIATE_TEST_SUITE_P(
    Lenient, CommaListSplit,
    testing::Values(CommaCase{"BlanksAround", {"a", "b"}, "  a ,  b  "},
                    CommaCase{"BlankSeparates", {"a", "b"}, "a b"},
                    CommaCase{"UnterminatedQuote", {"abc, d"}, "\"abc, d"},
                    CommaCase{"DoubledQuoteAtEnd", {"ab\""}, "\"ab\"\""},
                    CommaCase{"TextAfterQuote", {"x", "y", "z"}, "\"x\"y,z"},
                    CommaCase{"CommaThenBlanks", {"a"}, "a,   "},
                    CommaCase{"ControlCharacters", {"a", "b"}, QStringLiteral("\0a\r\n,b\x01")},
                    CommaCase{"OnlyBlanks", {}, " \t "}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
