#include "engine/readers/csv/CsvParser.h"

#include <gtest/gtest.h>

namespace {

using Records = std::vector<std::vector<QString>>;

Records Parse(const QString& text) {
    engine::CsvParser parser(text);
    Records records(1);
    QStringView field;
    bool endsRecord = false;
    while (parser.Next(field, endsRecord)) {
        records.back().push_back(field.toString());
        if (endsRecord) {
            records.emplace_back();
        }
    }
    if (records.back().empty()) {
        records.pop_back();
    }
    return records;
}

struct Split {
    const char16_t* text;
    Records records;
};

class CsvParserTest : public testing::TestWithParam<Split> {};

TEST_P(CsvParserTest, SplitsRecordsAndFields) {
    EXPECT_EQ(Parse(QString::fromUtf16(GetParam().text)), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Rfc4180, CsvParserTest,
    testing::Values(Split{u"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
                    Split{u"a\nb\rc", {{"a"}, {"b"}, {"c"}}},  // LF, CR and end of text
                    Split{u"\"a,b\",\"c\nd\"\n", {{"a,b", "c\nd"}}},
                    Split{u"\"say \"\"hi\"\"\"", {{"say \"hi\""}}},
                    Split{u"\"\"\"\"", {{"\""}}},           // four quotes show one
                    Split{u"\"", {{""}}},                   // a lone quote shows nothing
                    Split{u"\"\"\"", {{"\""}}},             // unclosed: runs to the end
                    Split{u"\"ab\"cd,e", {{"abcd", "e"}}},  // text after the closing quote is kept
                    Split{u"a\"b,c", {{"a\"b", "c"}}},      // a quote inside a field is ordinary
                    Split{u"a,,c\n,\n", {{"a", "", "c"}, {"", ""}}},
                    Split{u"a\nb,c,d\ne", {{"a"}, {"b", "c", "d"}, {"e"}}},
                    Split{u"\n\na", {{""}, {""}, {"a"}}}, Split{u"sep=;\na;b,c\n", {{"a", "b,c"}}},
                    Split{u"sep=;x\n", {{"sep=;x"}}}));

// A quoted field is either a slice of the text or built up when quotes are doubled or text
// follows the closing quote; both must split alike wherever the field ends.
INSTANTIATE_TEST_SUITE_P(QuotedFieldEnds, CsvParserTest,
                         testing::Values(Split{u"\"a\",\"b\"", {{"a", "b"}}},
                                         Split{u"\"a\"\r\n\"b\"\r", {{"a"}, {"b"}}},
                                         Split{u"\"a\"\r\"b\"\n\"\",", {{"a"}, {"b"}, {""}}},
                                         Split{u"\"a\"\"\",\"\"\"b\"", {{"a\"", "\"b"}}},
                                         Split{u"\"a\" ,\"b\"x\ny", {{"a ", "bx"}, {"y"}}},
                                         Split{u"\"a,b\nc", {{"a,b\nc"}}},  // unclosed
                                         Split{u"\"a\"\"b,c", {{"a\"b,c"}}},
                                         Split{u"sep=;\n\"a;\";\"b\",c", {{"a;", "b,c"}}},
                                         Split{u"sep=\"\n\"a\"\"b\"\n", {{"a\"b"}}}));

TEST(CsvParserEmpty, NoTextNoFields) {
    EXPECT_TRUE(Parse(QString()).empty());
}

}  // namespace
